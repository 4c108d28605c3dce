#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

// The smallest enhanced metafile that draws nothing: its header record
// (bounds 0, 0, 99, 49) and its end record, 108 bytes, written word by word
// from the format.
inline std::vector<std::uint8_t> EmptyMetafile() {
    const std::initializer_list<std::uint32_t> words = {
        1, 88,                   // header record, its size
        0, 0, 99, 49,            // bounds in pixels
        0, 0, 2645, 1322,        // frame in 0.01 mm
        0x464D4520, 0x10000,     // " EMF", version
        108, 2,                  // bytes and records of the file
        1,                       // one handle, reserved
        0, 0, 0,                 // no description, no palette
        1024, 768, 271, 203,     // device in pixels and millimetres
        14, 20, 0, 16, 20,       // end record
    };
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t word : words) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(word >> (8 * i)));
    }
    return bytes;
}

// The bytes with a little-endian 32-bit value written at the offset.
inline std::vector<std::uint8_t> WithUInt32At(std::vector<std::uint8_t> bytes, std::size_t offset,
                                              std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return bytes;
}
