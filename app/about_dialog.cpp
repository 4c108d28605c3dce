#include "about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "splash_window.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About Quellmark");
    auto* picture = new QLabel;
    picture->setPixmap(CSplashWnd::Picture().scaledToHeight(64, Qt::SmoothTransformation));
    auto* version = new QLabel("Quellmark, Version 1.8.5");
    // The author line is a link, blue (RGB 0, 0, 255) as links were drawn.
    auto* author = new QLabel(
        "<a style=\"color:#0000ff\" href=\"https://www.example.org/tavrin\">The Tavrin developers</a>");
    author->setObjectName("idc_1037");
    author->setOpenExternalLinks(true);
    author->setTextInteractionFlags(Qt::TextBrowserInteraction);
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
