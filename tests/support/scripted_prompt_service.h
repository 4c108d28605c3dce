#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include <QDialog>
#include <QString>

#include "prompt_service.h"

// Keeps every prompt instead of showing it and answers from the script,
// in order; when a script runs dry the fallback answer is given (Ok, a
// cancelled file or colour dialog).
class ScriptedPromptService final : public PromptService {
public:
    enum class Kind { Message, OpenFile, SaveFile, Color, Dialog };

    struct Prompt {
        Kind kind = Kind::Message;
        QString text;     // a message's text
        QString caption;  // a message's, a file dialog's or a dialog's caption
        PromptIcon icon = PromptIcon::None;
        PromptButtons buttons = PromptButtons::Ok;
        std::vector<FileFilter> filters;
        QString initialPath;
        ColorRef initialColor = 0;
    };

    std::vector<Prompt> prompts;
    std::deque<PromptAnswer> answers;
    std::deque<std::optional<QString>> fileNames;
    std::deque<std::optional<ColorRef>> colors;
    // Each dialog run is handed to its script step, which may fill it in,
    // and answers what the step returns; without one it is rejected.
    std::deque<std::function<int(QDialog&)>> dialogs;
    PromptAnswer fallbackAnswer = PromptAnswer::Ok;

    // The message boxes alone, in order.
    std::vector<Prompt> Messages() const {
        std::vector<Prompt> found;
        for (const auto& prompt : prompts) {
            if (prompt.kind == Kind::Message) found.push_back(prompt);
        }
        return found;
    }

    PromptAnswer Ask(const QString& text, const QString& caption, PromptIcon icon,
                     PromptButtons buttons) override {
        Prompt& prompt = prompts.emplace_back();
        prompt.text = text;
        prompt.caption = caption;
        prompt.icon = icon;
        prompt.buttons = buttons;
        return Next(answers, fallbackAnswer);
    }
    std::optional<QString> OpenFileName(const QString& caption, std::span<const FileFilter> filters,
                                        const QString& initialPath) override {
        AddFileDialog(Kind::OpenFile, caption, filters, initialPath);
        return Next(fileNames, std::optional<QString>());
    }
    std::optional<QString> SaveFileName(const QString& caption, std::span<const FileFilter> filters,
                                        const QString& initialPath) override {
        AddFileDialog(Kind::SaveFile, caption, filters, initialPath);
        return Next(fileNames, std::optional<QString>());
    }
    std::optional<ColorRef> ChooseColor(ColorRef initial) override {
        Prompt& prompt = prompts.emplace_back();
        prompt.kind = Kind::Color;
        prompt.initialColor = initial;
        return Next(colors, std::optional<ColorRef>());
    }

    int RunModal(QDialog& dialog) override {
        Prompt& prompt = prompts.emplace_back();
        prompt.kind = Kind::Dialog;
        prompt.caption = dialog.windowTitle();
        std::function<int(QDialog&)> step = Next(dialogs, std::function<int(QDialog&)>());
        return step ? step(dialog) : QDialog::Rejected;
    }

private:
    template <typename T>
    static T Next(std::deque<T>& script, T fallback) {
        if (script.empty()) return fallback;
        T answer = script.front();
        script.pop_front();
        return answer;
    }

    void AddFileDialog(Kind kind, const QString& caption, std::span<const FileFilter> filters,
                       const QString& initialPath) {
        Prompt& prompt = prompts.emplace_back();
        prompt.kind = kind;
        prompt.caption = caption;
        prompt.filters.assign(filters.begin(), filters.end());
        prompt.initialPath = initialPath;
    }
};
