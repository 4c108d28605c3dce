#pragma once

#include <optional>
#include <span>

#include <QString>

#include "color.h"
#include "drawing_records.h"
#include "prompt.h"

class QDialog;

// One entry of a file dialog's type list: "PF Files (*.pf)" with "*.pf";
// several patterns are separated by ';'.
struct FileFilter {
    QString description;
    QString patterns;
};

// A file to write as the save dialog answers it: the path and the index of
// the type list's entry that was selected.
struct SaveChoice {
    QString path;
    int filter = 0;
};

// A font as the font chooser answers it, with the colour of its text.
struct FontChoice {
    LogFont font;
    ColorRef color = kBlack;
};

// Every modal question the program asks the user: message boxes, file
// names, colours, fonts and the program's own dialogs. The program holds one; tests put a scripted one in its
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
    // The save dialog asks before an existing file is overwritten.
    virtual std::optional<SaveChoice> SaveFile(const QString& caption, std::span<const FileFilter> filters,
                                               const QString& initialPath) = 0;
    // The path alone, when the type chosen does not matter.
    std::optional<QString> SaveFileName(const QString& caption, std::span<const FileFilter> filters,
                                        const QString& initialPath);
    // The chosen colour; nothing when the user cancelled.
    virtual std::optional<ColorRef> ChooseColor(ColorRef initial) = 0;
    // The font changed as the user chose, the record's other fields kept;
    // nothing when the user cancelled.
    virtual std::optional<FontChoice> ChooseFont(const FontChoice& initial) = 0;
    // Runs a dialog of the program modally; answers QDialog::Accepted when
    // the user confirmed it.
    virtual int RunModal(QDialog& dialog) = 0;

    // The model's texts are single-byte; they are shown through Ask.
    PromptAnswer MessageBox(std::string_view text, std::string_view caption, PromptIcon icon,
                            PromptButtons buttons) final;
};

// The type list as a Qt file dialog takes it: "PF Files (*.pf);;All Files (*.*)".
QString QtFilterString(std::span<const FileFilter> filters);
