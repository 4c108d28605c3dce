#include "emf_check.h"

#include <uemf_safe.h>

namespace {

constexpr std::uint32_t kHeaderRecordType = 1;
constexpr std::uint32_t kEndRecordType = 14;
constexpr std::uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr std::size_t kRecordFrameSize = 8;       // type and size

// A text or block of the header, given by its length and offset, lies
// inside the header record. An offset without a length points at nothing
// and is not read.
bool PartInside(std::span<const std::uint8_t> header, std::size_t lengthAt, std::size_t offsetAt,
                std::uint64_t bytesPerUnit) {
    std::uint64_t length = EmfUInt32At(header, lengthAt);
    std::uint64_t offset = EmfUInt32At(header, offsetAt);
    if (length == 0) return true;
    return offset >= EmfHeader::kFixedSize && offset + bytesPerUnit * length <= header.size();
}

bool HeaderSound(std::span<const std::uint8_t> header) {
    using namespace EmfHeader;
    if (header.size() < kFixedSize || EmfUInt32At(header, kSignatureAt) != kSignature) return false;
    // The description is in UTF-16 characters.
    if (!PartInside(header, kDescriptionLengthAt, kDescriptionOffsetAt, 2)) return false;
    if (header.size() >= kWithPixelFormatSize && !PartInside(header, kPixelFormatSizeAt, kPixelFormatOffsetAt, 1)) {
        return false;
    }
    return true;
}

Rect Bounds(std::span<const std::uint8_t> header) {
    auto at = [&](std::size_t field) {
        return static_cast<int>(EmfUInt32At(header, EmfHeader::kBoundsAt + 4 * field));
    };
    return {at(0), at(1), at(2), at(3)};
}

}  // namespace

std::uint32_t EmfUInt32At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) |
           (std::uint32_t{bytes[offset + 3]} << 24);
}

std::optional<Rect> CheckEnhancedMetafile(std::span<const std::uint8_t> metafile) {
    std::size_t offset = 0;
    while (offset + kRecordFrameSize <= metafile.size()) {
        std::uint32_t type = EmfUInt32At(metafile, offset);
        std::uint32_t size = EmfUInt32At(metafile, offset + 4);
        if (size < kRecordFrameSize || size % 4 != 0 || size > metafile.size() - offset) return std::nullopt;
        std::span<const std::uint8_t> record = metafile.subspan(offset, size);
        if ((offset == 0) != (type == kHeaderRecordType)) return std::nullopt;
        if (offset == 0 && !HeaderSound(record)) return std::nullopt;
        // The library's own check of each record's counts and offsets; the
        // converter that plays a picture trusts them.
        if (!U_emf_record_safe(reinterpret_cast<const char*>(record.data()))) return std::nullopt;
        offset += size;
        if (type == kEndRecordType) {
            if (EmfUInt32At(metafile, EmfHeader::kTotalBytesAt) != offset) return std::nullopt;
            return Bounds(metafile);
        }
    }
    return std::nullopt;
}
