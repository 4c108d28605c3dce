#include "prompt_service.h"

#include <QStringList>

#include "windows_1250.h"

PromptAnswer PromptService::MessageBox(std::string_view text, std::string_view caption, PromptIcon icon,
                                       PromptButtons buttons) {
    return Ask(FromWindows1250(text), FromWindows1250(caption), icon, buttons);
}

std::optional<QString> PromptService::SaveFileName(const QString& caption, std::span<const FileFilter> filters,
                                                   const QString& initialPath) {
    std::optional<SaveChoice> choice = SaveFile(caption, filters, initialPath);
    if (!choice) return std::nullopt;
    return choice->path;
}

QString QtFilterString(std::span<const FileFilter> filters) {
    QStringList entries;
    for (const FileFilter& filter : filters) {
        QString patterns = filter.patterns;
        patterns.replace(';', ' ');
        // Qt reads the patterns from the last parentheses of the entry. A
        // description that ends in its own parentheses has them replaced by
        // the real patterns: written after them, the user would read both.
        QString description = filter.description.trimmed();
        if (description.endsWith(')') && description.contains('(')) {
            description = description.left(description.lastIndexOf('(')).trimmed();
        }
        entries.append(description + " (" + patterns.simplified() + ")");
    }
    return entries.join(";;");
}
