#pragma once

#include <optional>
#include <span>

#include <QString>

#include "color.h"
#include "prompt.h"

class QDialog;

// One entry of a file dialog's type list: "PF Files (*.pf)" with "*.pf";
// several patterns are separated by ';'.
struct FileFilter {
    QString description;
    QString patterns;
};

// Every modal question the program asks the user: message boxes, file
// names, colours and its own modal dialogs. The program holds one; tests put a scripted one in its
// place, so that nothing ever waits for a hand on the keyboard.
class PromptService : public IPrompt {
public:
    virtual ~PromptService() = default;

    // An empty caption shows the program's name.
    virtual PromptAnswer Ask(const QString& text, const QString& caption, PromptIcon icon,
                             PromptButtons buttons) = 0;
    // The chosen file's path; nothing when the user cancelled.
    virtual std::optional<QString> OpenFileName(const QString& caption, std::span<const FileFilter> filters,
                                                const QString& initialPath) = 0;
    virtual std::optional<QString> SaveFileName(const QString& caption, std::span<const FileFilter> filters,
                                                const QString& initialPath) = 0;
    // The chosen colour; nothing when the user cancelled.
    virtual std::optional<ColorRef> ChooseColor(ColorRef initial) = 0;
    // Runs a dialog the program made (About, a sub-dialog) modally; answers
    // QDialog::Accepted or QDialog::Rejected.
    virtual int RunModal(QDialog& dialog) = 0;

    // The model's texts are single-byte; they are shown through Ask.
    PromptAnswer MessageBox(std::string_view text, std::string_view caption, PromptIcon icon,
                            PromptButtons buttons) final;
};

// The type list as a Qt file dialog takes it: "PF Files (*.pf);;All Files (*.*)".
QString QtFilterString(std::span<const FileFilter> filters);
