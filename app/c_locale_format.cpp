#include "c_locale_format.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>

#include <locale.h>

namespace {

locale_t TheCLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

}  // namespace

std::string FormatCLocale(const char* format, ...) {
    // uselocale switches the calling thread only.
    const locale_t previous = uselocale(TheCLocale());
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    uselocale(previous);
    return text;
}
