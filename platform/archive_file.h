#pragma once

#include <filesystem>

#include "archive.h"

// Archives over files. Both throw ArchiveError (FileFailure) when the file
// cannot be read or written.

// A loading archive over the whole content of the file.
Archive OpenArchiveFile(const std::filesystem::path& path);

// Writes what a storing archive holds to the file without ever damaging the
// file it replaces: the bytes go to a new file in the same folder, which is
// flushed to the disk and only then renamed over the old one. On any failure
// the new file is removed and the old one is left as it was. A replaced file
// keeps its permission bits.
void SaveArchiveFile(const Archive& stored, const std::filesystem::path& path);
