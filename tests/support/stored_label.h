#pragma once

#include <string>

// The stored form of an element's label, as hexadecimal pairs: its
// rectangle at (x, y) (two hexadecimal digits each), black, in the default
// label font, to be measured again (as a label read back is); right-aligned
// when asked.
inline std::string StoredLabelHex(const std::string& x, const std::string& y, bool rightAligned = false) {
    std::string corner = x + " 00 00 00 " + y + " 00 00 00 ";
    return (rightAligned ? "01 01 01 " : "00 01 01 ") + corner + corner +
           "00 00 00 00 "
           "00 00 FF 00 "
           "F5 FF FF FF 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
           "00 00 00 00 00 00 00 00 "
           "05 41 72 69 61 6C";
}
