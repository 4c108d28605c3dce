#include "about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "color.h"
#include "control_id.h"
#include "splash_window.h"
#include "static_ex.h"

CAboutDlg::CAboutDlg(PromptService& prompts, DesktopActions& desktop, QWidget* parent) : QDialog(parent) {
    setWindowTitle("About Quellmark");
    auto* picture = new QLabel;
    picture->setPixmap(CSplashWnd::Picture().scaledToHeight(64, Qt::SmoothTransformation));
    auto* version = new QLabel("Quellmark, Version 1.8.5");
    auto* author = new CStaticEx(prompts, desktop);
    SetControlId(*author, kAuthorLineId);
    author->setText("The Tavrin developers");
    author->SetLink("mailto:tavrin@example.org");
    author->SetTextColor(Rgb(0, 0, 255));
    author->SetVisitedColor(Rgb(128, 0, 255));
    author->SetHandCursor(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(version);
    texts->addWidget(author);
    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addLayout(texts);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}
