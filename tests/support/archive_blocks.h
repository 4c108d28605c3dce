#pragma once

#include <string>

// Pieces of stored elements, as hexadecimal pairs (byte_text.h), for the
// hand-written goldens of the element archive tests.

// A label whose rectangle lies at (x, y) (hex bytes of the low byte of each
// coordinate), black, the default label font, to be measured again (as a
// label read back is). `aligned` is "01" for a right-aligned label.
inline std::string LabelBlock(const std::string& x, const std::string& y, const std::string& aligned = "00") {
    std::string corner = x + " 00 00 00 " + y + " 00 00 00 ";
    return aligned + " 00 01 " + corner + corner +
           "00 00 00 00 "
           "00 00 FF 00 "
           "F5 FF FF FF 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
           "00 00 00 00 00 00 00 00 "
           "05 41 72 69 61 6C";
}

inline std::string Trimmed(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}
