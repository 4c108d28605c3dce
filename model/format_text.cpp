#include "format_text.h"

#include <cstdarg>
#include <cstdio>

std::string FormatText(const char* format, ...) {
    // Most texts are short labels: formatted once, on the stack, and only a
    // longer one a second time at its length.
    char shortText[256];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(shortText, sizeof shortText, format, args);
    va_end(args);
    std::string text;
    if (length > 0 && static_cast<std::size_t>(length) < sizeof shortText) {
        text.assign(shortText, static_cast<std::size_t>(length));
    } else if (length > 0) {
        text.resize(static_cast<std::size_t>(length));
        std::vsnprintf(text.data(), text.size() + 1, format, again);
    }
    va_end(again);
    return text;
}
