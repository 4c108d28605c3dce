#include "archive.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <utility>

namespace {

// Markers of the counted string and of the collection count.
constexpr std::uint8_t kLongStringByte = 0xFF;
constexpr std::uint16_t kWideStringMarker = 0xFFFE;
constexpr std::uint16_t kLong16 = 0xFFFF;
constexpr std::uint32_t kLong32 = 0xFFFFFFFF;

}  // namespace

Archive::Archive(bool storing, std::vector<std::uint8_t> bytes)
    : storing_(storing), bytes_(std::move(bytes)) {}

Archive Archive::ForStoring() { return Archive(true); }

Archive Archive::ForLoading(std::vector<std::uint8_t> bytes) {
    return Archive(false, std::move(bytes));
}

void Archive::RequireStoring() const {
    if (!storing_) throw ArchiveError(ArchiveError::Kind::WrongMode, "write on a loading archive");
}

void Archive::RequireLoading() const {
    if (storing_) throw ArchiveError(ArchiveError::Kind::WrongMode, "read on a storing archive");
}

void Archive::PutLittleEndian(std::uint64_t value, int byteCount) {
    RequireStoring();
    for (int i = 0; i < byteCount; ++i) bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::span<const std::uint8_t> Archive::Take(std::size_t count) {
    RequireLoading();
    if (count > Remaining()) {
        throw ArchiveError(ArchiveError::Kind::EndOfData, "read past the end of the archive");
    }
    std::span<const std::uint8_t> taken(bytes_.data() + position_, count);
    position_ += count;
    return taken;
}

std::uint64_t Archive::TakeLittleEndian(int byteCount) {
    auto bytes = Take(static_cast<std::size_t>(byteCount));
    std::uint64_t value = 0;
    for (int i = 0; i < byteCount; ++i) value |= std::uint64_t{bytes[i]} << (8 * i);
    return value;
}

void Archive::RequireItems(std::size_t count, std::size_t bytesPerItem) const {
    if (count > Remaining() / std::max<std::size_t>(bytesPerItem, 1)) {
        throw ArchiveError(ArchiveError::Kind::BadSize, "stored length exceeds the archive");
    }
}

void Archive::WriteInt16(std::int16_t value) { PutLittleEndian(static_cast<std::uint16_t>(value), 2); }
void Archive::WriteInt32(std::int32_t value) { PutLittleEndian(static_cast<std::uint32_t>(value), 4); }
void Archive::WriteUInt32(std::uint32_t value) { PutLittleEndian(value, 4); }
void Archive::WriteByte(std::uint8_t value) { PutLittleEndian(value, 1); }
void Archive::WriteDouble(double value) { PutLittleEndian(std::bit_cast<std::uint64_t>(value), 8); }

void Archive::WriteString(std::string_view text) {
    RequireStoring();
    std::size_t length = text.size();
    if (length < kLongStringByte) {
        WriteByte(static_cast<std::uint8_t>(length));
    } else if (length < kWideStringMarker) {
        WriteByte(kLongStringByte);
        PutLittleEndian(length, 2);
    } else if (length < kLong32) {
        WriteByte(kLongStringByte);
        PutLittleEndian(kLong16, 2);
        PutLittleEndian(length, 4);
    } else {
        throw ArchiveError(ArchiveError::Kind::BadSize, "string too long for the archive");
    }
    bytes_.insert(bytes_.end(), text.begin(), text.end());
}

void Archive::WriteCount(std::size_t count) {
    RequireStoring();
    if (count < kLong16) {
        PutLittleEndian(count, 2);
    } else if (count < kLong32) {
        PutLittleEndian(kLong16, 2);
        PutLittleEndian(count, 4);
    } else {
        throw ArchiveError(ArchiveError::Kind::BadSize, "count too large for the archive");
    }
}

void Archive::WriteBlock(std::span<const std::uint8_t> bytes) {
    RequireStoring();
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw ArchiveError(ArchiveError::Kind::BadSize, "block too large for the archive");
    }
    WriteInt32(static_cast<std::int32_t>(bytes.size()));
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

std::int16_t Archive::ReadInt16() { return static_cast<std::int16_t>(TakeLittleEndian(2)); }
std::int32_t Archive::ReadInt32() { return static_cast<std::int32_t>(TakeLittleEndian(4)); }
std::uint32_t Archive::ReadUInt32() { return static_cast<std::uint32_t>(TakeLittleEndian(4)); }
std::uint8_t Archive::ReadByte() { return static_cast<std::uint8_t>(TakeLittleEndian(1)); }
double Archive::ReadDouble() { return std::bit_cast<double>(TakeLittleEndian(8)); }

std::string Archive::ReadString() {
    std::size_t length = ReadByte();
    if (length == kLongStringByte) {
        auto length16 = static_cast<std::uint16_t>(TakeLittleEndian(2));
        if (length16 == kWideStringMarker) {
            throw ArchiveError(ArchiveError::Kind::WideString, "UTF-16 string in the archive");
        }
        length = length16 == kLong16 ? ReadUInt32() : length16;
    }
    RequireItems(length, 1);
    auto characters = Take(length);
    return std::string(characters.begin(), characters.end());
}

std::size_t Archive::ReadCount(std::size_t bytesPerItem) {
    std::size_t count = static_cast<std::uint16_t>(TakeLittleEndian(2));
    if (count == kLong16) count = ReadUInt32();
    RequireItems(count, bytesPerItem);
    return count;
}

std::size_t Archive::ReadInt32Count(std::size_t bytesPerItem) {
    std::int32_t count = ReadInt32();
    if (count < 0) throw ArchiveError(ArchiveError::Kind::BadSize, "negative count in the archive");
    RequireItems(static_cast<std::size_t>(count), bytesPerItem);
    return static_cast<std::size_t>(count);
}

std::vector<std::uint8_t> Archive::ReadBlock() {
    std::int32_t size = ReadInt32();
    if (size < 0) throw ArchiveError(ArchiveError::Kind::BadSize, "negative block size in the archive");
    RequireItems(static_cast<std::size_t>(size), 1);
    auto block = Take(static_cast<std::size_t>(size));
    return std::vector<std::uint8_t>(block.begin(), block.end());
}
