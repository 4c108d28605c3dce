#include "qt_prompt_service.h"

#include <algorithm>

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>

#include "qt_colors.h"
#include "qt_font_chooser.h"

namespace {

QMessageBox::Icon ToQtIcon(PromptIcon icon) {
    switch (icon) {
        case PromptIcon::Information: return QMessageBox::Information;
        case PromptIcon::Warning: return QMessageBox::Warning;
        case PromptIcon::Error: return QMessageBox::Critical;
        case PromptIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(PromptButtons buttons) {
    switch (buttons) {
        case PromptButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
        case PromptButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
        case PromptButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case PromptButtons::Ok: break;
    }
    return QMessageBox::Ok;
}

// Closing the box with Escape or the title bar counts as its cancelling
// button: Cancel where there is one, No for a yes-or-no question.
PromptAnswer ToAnswer(int pressed, PromptButtons buttons) {
    switch (pressed) {
        case QMessageBox::Ok: return PromptAnswer::Ok;
        case QMessageBox::Yes: return PromptAnswer::Yes;
        case QMessageBox::No: return PromptAnswer::No;
        case QMessageBox::Cancel: return PromptAnswer::Cancel;
        default: break;
    }
    switch (buttons) {
        case PromptButtons::Ok: return PromptAnswer::Ok;
        case PromptButtons::YesNo: return PromptAnswer::No;
        case PromptButtons::OkCancel:
        case PromptButtons::YesNoCancel: break;
    }
    return PromptAnswer::Cancel;
}

std::optional<QString> Chosen(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    return path;
}

}  // namespace

PromptAnswer QtPromptService::Ask(const QString& text, const QString& caption, PromptIcon icon,
                                  PromptButtons buttons) {
    QMessageBox box(ToQtIcon(icon), caption.isEmpty() ? QGuiApplication::applicationDisplayName() : caption,
                    text, ToQtButtons(buttons), parent_);
    return ToAnswer(box.exec(), buttons);
}

std::optional<QString> QtPromptService::OpenFileName(const QString& caption, std::span<const FileFilter> filters,
                                                     const QString& initialPath) {
    return Chosen(QFileDialog::getOpenFileName(parent_, caption, initialPath, QtFilterString(filters)));
}

std::optional<SaveChoice> QtPromptService::SaveFile(const QString& caption, std::span<const FileFilter> filters,
                                                    const QString& initialPath) {
    const QString entries = QtFilterString(filters);
    QString selected;
    std::optional<QString> path =
        Chosen(QFileDialog::getSaveFileName(parent_, caption, initialPath, entries, &selected));
    if (!path) return std::nullopt;
    return SaveChoice{*path, std::max(0, static_cast<int>(entries.split(";;").indexOf(selected)))};
}

std::optional<ColorRef> QtPromptService::ChooseColor(ColorRef initial) {
    QColor chosen = QColorDialog::getColor(ToQColor(initial), parent_);
    if (!chosen.isValid()) return std::nullopt;
    return ToColorRef(chosen);
}

std::optional<FontChoice> QtPromptService::ChooseFont(const FontChoice& initial) {
    FontChooser chooser(initial, *this, parent_);
    if (chooser.exec() != QDialog::Accepted) return std::nullopt;
    return chooser.Choice();
}

int QtPromptService::RunModal(QDialog& dialog) { return dialog.exec(); }
