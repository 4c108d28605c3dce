#pragma once

#include "prompt_service.h"

class QWidget;

// The prompts as the user sees them: message boxes, the standard file and
// colour dialogs and the font chooser, modal to the parent window.
class QtPromptService final : public PromptService {
public:
    // The parent may be null (before the main window exists) and may be set
    // later; it is borrowed.
    explicit QtPromptService(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    PromptAnswer Ask(const QString& text, const QString& caption, PromptIcon icon,
                     PromptButtons buttons) override;
    std::optional<QString> OpenFileName(const QString& caption, std::span<const FileFilter> filters,
                                        const QString& initialPath) override;
    std::optional<SaveChoice> SaveFile(const QString& caption, std::span<const FileFilter> filters,
                                       const QString& initialPath) override;
    std::optional<ColorRef> ChooseColor(ColorRef initial) override;
    std::optional<FontChoice> ChooseFont(const FontChoice& initial) override;
    int RunModal(QDialog& dialog) override;

private:
    QWidget* parent_;
};
