#pragma once

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

// Bytes written as hexadecimal pairs separated by blanks ("FF 00 1A"), the
// way the document format's test vectors are given.
inline std::vector<std::uint8_t> BytesFromHex(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    std::istringstream in{std::string(text)};
    std::string pair;
    while (in >> pair) bytes.push_back(static_cast<std::uint8_t>(std::stoul(pair, nullptr, 16)));
    return bytes;
}

inline std::string HexOf(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    char pair[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", b);
        if (!text.empty()) text += ' ';
        text += pair;
    }
    return text;
}
