#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Why an archive operation failed. Whoever loads a document catches it; what
// the model read before the failure stays as it was read.
class ArchiveError : public std::runtime_error {
public:
    enum class Kind {
        WrongMode,     // a read on a storing archive, a write on a loading one
        EndOfData,     // a read past the last byte
        BadSize,       // a negative size, or a length or count beyond the bytes left
        WideString,    // a string stored as UTF-16, which documents never hold
        FileFailure,   // a file could not be read, or written and put in place
        OutOfRange,    // a value beyond what a document can hold (a point far off any diagram)
        Refused,       // readable bytes that are no document this program takes (version, marker, content)
    };

    ArchiveError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
    Kind GetKind() const { return kind_; }

private:
    Kind kind_;
};

// The binary archive of ".pf" documents: either storing (it collects the
// bytes written) or loading (it reads a buffer from the start). All values are
// little-endian and packed. A failed operation throws ArchiveError; a loading
// archive checks every stored length against the bytes left before it
// allocates anything for it.
class Archive {
public:
    static Archive ForStoring();
    static Archive ForLoading(std::vector<std::uint8_t> bytes);

    bool IsStoring() const { return storing_; }
    bool IsLoading() const { return !storing_; }

    void WriteInt16(std::int16_t value);
    void WriteInt32(std::int32_t value);
    void WriteUInt32(std::uint32_t value);
    void WriteByte(std::uint8_t value);
    void WriteDouble(double value);
    // The counted string of single-byte characters: a length below 255 in one
    // byte; else 0xFF and a 16-bit length below 0xFFFE; else 0xFF, 0xFFFF and
    // a 32-bit length. Then the characters, no terminator.
    void WriteString(std::string_view text);
    // The count before the items of a collection: 16-bit below 0xFFFF, else
    // 0xFFFF and a 32-bit count.
    void WriteCount(std::size_t count);
    // A raw block: its size as int32, then the bytes.
    void WriteBlock(std::span<const std::uint8_t> bytes);

    std::int16_t ReadInt16();
    std::int32_t ReadInt32();
    std::uint32_t ReadUInt32();
    std::uint8_t ReadByte();
    double ReadDouble();
    std::string ReadString();
    // The caller's items take at least `bytesPerItem` (1 or more) bytes each,
    // so a count that the bytes left cannot hold is refused before anything
    // is sized for it.
    std::size_t ReadCount(std::size_t bytesPerItem = 1);
    // A count stored as a plain int32 (the document's sections); refused when
    // negative or beyond the bytes left, as ReadCount.
    std::size_t ReadInt32Count(std::size_t bytesPerItem = 1);
    std::vector<std::uint8_t> ReadBlock();

    // The bytes written so far (storing) or the whole buffer (loading).
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    // Bytes not read yet; 0 on a storing archive.
    std::size_t Remaining() const { return storing_ ? 0 : bytes_.size() - position_; }

    // What the bytes came from as the user knows it (a file's name, in the
    // documents' code page), for messages about them; empty when unknown.
    void SetSourceName(std::string name) { sourceName_ = std::move(name); }
    const std::string& SourceName() const { return sourceName_; }

private:
    explicit Archive(bool storing, std::vector<std::uint8_t> bytes = {});

    void PutLittleEndian(std::uint64_t value, int byteCount);
    std::uint64_t TakeLittleEndian(int byteCount);
    std::span<const std::uint8_t> Take(std::size_t count);
    void RequireStoring() const;
    void RequireLoading() const;
    void RequireItems(std::size_t count, std::size_t bytesPerItem) const;

    bool storing_;
    std::vector<std::uint8_t> bytes_;
    std::size_t position_ = 0;
    std::string sourceName_;
};
