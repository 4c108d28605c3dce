#pragma once

#include <string_view>

enum class PromptIcon { None, Information, Warning, Error };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

// Modal message boxes for what the user must see. The pointer is borrowed.
class IPrompt {
public:
    // An empty caption shows the program's name. Answers the button pressed.
    virtual PromptAnswer MessageBox(std::string_view text, std::string_view caption,
                                    PromptIcon icon, PromptButtons buttons) = 0;

protected:
    ~IPrompt() = default;
};
