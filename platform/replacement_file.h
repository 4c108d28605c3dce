#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>

// Why a file could not be written and put in place; the message names the
// step, the file and the system's reason.
class FileWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes the bytes as the whole new content of the file without ever damaging
// the file it replaces: they go to a new file in the same folder, which is
// flushed to the disk and only then renamed over the old one. On any failure
// the new file is removed, the old one is left as it was, and FileWriteError
// is thrown. A replaced file keeps its permission bits. A path that is a
// symbolic link keeps the link: the file it points to is replaced.
void WriteFileReplacing(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
