#include "windows_1250.h"

#include "windows_1250_code_page.h"

#include <cstdint>

QString FromWindows1250(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (char c : bytes) {
        auto byte = static_cast<std::uint8_t>(c);
        text.append(QChar(Windows1250ToUnicode(byte)));
    }
    return text;
}

std::string ToWindows1250(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    // A character beyond the basic plane is two UTF-16 units but one '?'.
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar unit = text[i];
        if (unit.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            bytes.push_back('?');
            ++i;
            continue;
        }
        bytes.push_back(Windows1250FromUnicode(unit.unicode()));
    }
    return bytes;
}
