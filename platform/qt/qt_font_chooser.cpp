#include "qt_font_chooser.h"

#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt_colors.h"
#include "qt_font.h"

FontChooser::FontChooser(const FontChoice& initial, PromptService& prompts, QWidget* parent)
    : QDialog(parent), initial_(initial), color_(initial.color), prompts_(prompts) {
    setWindowTitle("Font");
    // The font dialog is embedded as a page of this one, without its own
    // buttons, so that the colour sits beside it and one OK answers both.
    fonts_ = new QFontDialog(ToQFont(initial.font), this);
    fonts_->setWindowFlags(Qt::Widget);
    fonts_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog | QFontDialog::ScalableFonts |
                       QFontDialog::NonScalableFonts);

    colorButton_ = new QPushButton(this);
    colorButton_->setFixedWidth(48);
    connect(colorButton_, &QPushButton::clicked, this, [this] {
        if (std::optional<ColorRef> chosen = prompts_.ChooseColor(color_)) {
            color_ = *chosen;
            ShowColor();
        }
    });
    ShowColor();

    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(new QLabel("Color:", this));
    colorRow->addWidget(colorButton_);
    colorRow->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fonts_);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);
}

FontChoice FontChooser::Choice() const {
    FontChoice choice = initial_;
    ApplyQFont(fonts_->currentFont(), choice.font);
    choice.color = color_;
    return choice;
}

void FontChooser::ShowColor() {
    colorButton_->setStyleSheet(QString("background-color: %1").arg(ToQColor(color_).name()));
}
