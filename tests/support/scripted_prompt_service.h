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
// cancelled file, colour or font dialog, a cancelled dialog of the program).
// A dialog of the program is handed to the next of `dialogScripts`, which
// plays the user (fills fields, presses buttons); its answer is the
// dialog's result when the script returns.
class ScriptedPromptService final : public PromptService {
public:
    enum class Kind { Message, OpenFile, SaveFile, Color, Font, Dialog };

    struct Prompt {
        Kind kind = Kind::Message;
        QString text;     // a message's text
        QString caption;  // a message's, a file dialog's or a dialog's caption
        PromptIcon icon = PromptIcon::None;
        PromptButtons buttons = PromptButtons::Ok;
        std::vector<FileFilter> filters;
        QString initialPath;
        ColorRef initialColor = 0;
        LogFont initialFont;
    };

    std::vector<Prompt> prompts;
    std::deque<PromptAnswer> answers;
    std::deque<std::optional<QString>> fileNames;
    // The type list entry each answered save dialog selected; the first
    // when the script runs dry.
    std::deque<int> fileFilters;
    std::deque<std::optional<ColorRef>> colors;
    std::deque<std::optional<FontChoice>> fonts;
    std::deque<std::function<void(QDialog&)>> dialogScripts;
    PromptAnswer fallbackAnswer = PromptAnswer::Ok;
    // Runs while a message is shown, as the event loop of a real message
    // box would run (events arrive, windows close, connections end).
    std::function<void()> whileMessageShown;

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
        if (whileMessageShown) whileMessageShown();
        return Next(answers, fallbackAnswer);
    }
    std::optional<QString> OpenFileName(const QString& caption, std::span<const FileFilter> filters,
                                        const QString& initialPath) override {
        AddFileDialog(Kind::OpenFile, caption, filters, initialPath);
        return Next(fileNames, std::optional<QString>());
    }
    std::optional<SaveChoice> SaveFile(const QString& caption, std::span<const FileFilter> filters,
                                       const QString& initialPath) override {
        AddFileDialog(Kind::SaveFile, caption, filters, initialPath);
        std::optional<QString> path = Next(fileNames, std::optional<QString>());
        if (!path) return std::nullopt;
        return SaveChoice{*path, Next(fileFilters, 0)};
    }
    std::optional<ColorRef> ChooseColor(ColorRef initial) override {
        Prompt& prompt = prompts.emplace_back();
        prompt.kind = Kind::Color;
        prompt.initialColor = initial;
        return Next(colors, std::optional<ColorRef>());
    }
    std::optional<FontChoice> ChooseFont(const FontChoice& initial) override {
        Prompt& prompt = prompts.emplace_back();
        prompt.kind = Kind::Font;
        prompt.initialFont = initial.font;
        prompt.initialColor = initial.color;
        return Next(fonts, std::optional<FontChoice>());
    }
    int RunModal(QDialog& dialog) override {
        Prompt& prompt = prompts.emplace_back();
        prompt.kind = Kind::Dialog;
        prompt.caption = dialog.windowTitle();
        dialog.setResult(QDialog::Rejected);
        std::function<void(QDialog&)> script = Next(dialogScripts, std::function<void(QDialog&)>());
        if (script) script(dialog);
        return dialog.result();
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
