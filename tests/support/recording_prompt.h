#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "prompt.h"

// Keeps every message box instead of showing it and answers `answer`.
class RecordingPrompt final : public IPrompt {
public:
    struct Box {
        std::string text;
        std::string caption;
        PromptIcon icon;
        PromptButtons buttons;
    };

    std::vector<Box> boxes;
    PromptAnswer answer = PromptAnswer::Ok;

    PromptAnswer MessageBox(std::string_view text, std::string_view caption, PromptIcon icon,
                            PromptButtons buttons) override {
        boxes.push_back({std::string(text), std::string(caption), icon, buttons});
        return answer;
    }
};
