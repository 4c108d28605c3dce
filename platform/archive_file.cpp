#include "archive_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "replacement_file.h"

namespace {

[[noreturn]] void FailToRead(const std::string& what, const std::filesystem::path& path, int error) {
    throw ArchiveError(ArchiveError::Kind::FileFailure,
                       what + " " + path.string() + ": " + std::strerror(error));
}

}  // namespace

Archive OpenArchiveFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) FailToRead("cannot open", path, errno);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) FailToRead("cannot read", path, errno);
    return Archive::ForLoading(std::move(bytes));
}

void SaveArchiveFile(const Archive& stored, const std::filesystem::path& path) {
    if (!stored.IsStoring()) {
        throw ArchiveError(ArchiveError::Kind::WrongMode, "saving a loading archive");
    }
    try {
        WriteFileReplacing(path, stored.Bytes());
    } catch (const FileWriteError& error) {
        throw ArchiveError(ArchiveError::Kind::FileFailure, error.what());
    }
}
