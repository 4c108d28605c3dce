#include "emf_picture.h"

#include <cstdlib>
#include <memory>
#include <vector>

#include <QByteArray>
#include <QPainter>
#include <QSvgRenderer>

#include <emf2svg.h>
#include <uemf.h>
#include <uemf_safe.h>

namespace {

// The header record, in bytes: up to the device sizes in every file; the
// pixel-format fields follow in newer ones.
constexpr std::size_t kHeaderSize = 88;
constexpr std::size_t kHeaderWithPixelFormatSize = 100;
constexpr std::uint32_t kHeaderRecordType = 1;
constexpr std::uint32_t kEndRecordType = 14;
constexpr std::uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kExtTextOutARecordType = 83;
constexpr std::uint32_t kExtTextOutWRecordType = 84;
// In both text records: the character count and the options of the text.
constexpr std::size_t kTextCountAt = 44;
constexpr std::size_t kTextOptionsAt = 52;
constexpr std::uint32_t kGlyphIndexOption = 0x10;

std::uint32_t UInt32At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) |
           (std::uint32_t{bytes[offset + 3]} << 24);
}

void SetUInt32At(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A text or block of the header, given by its length and offset, lies
// inside the header record. An offset without a length is dropped: the
// converter would read from it up to a terminator that may never come.
bool KeepPartInside(std::span<std::uint8_t> header, std::size_t lengthAt, std::size_t offsetAt,
                    std::uint64_t bytesPerUnit) {
    std::uint64_t length = UInt32At(header, lengthAt);
    std::uint64_t offset = UInt32At(header, offsetAt);
    if (length == 0) {
        SetUInt32At(header, offsetAt, 0);
        return true;
    }
    return offset >= kHeaderSize && offset + bytesPerUnit * length <= header.size();
}

bool MakeHeaderSound(std::span<std::uint8_t> header) {
    if (header.size() < kHeaderSize || UInt32At(header, 40) != kSignature) return false;
    // The description is in UTF-16 characters.
    if (!KeepPartInside(header, 60, 64, 2)) return false;
    if (header.size() >= kHeaderWithPixelFormatSize && !KeepPartInside(header, 88, 92, 1)) return false;
    return true;
}

// Text given as glyph indices is left out: to turn them into characters
// the converter looks the font up through fontconfig and then finalises
// fontconfig, under the program's own fonts, which still use it (a crash,
// or fonts that point into freed memory).
void DropGlyphIndexText(std::span<std::uint8_t> record) {
    const std::uint32_t type = UInt32At(record, 0);
    if (type != kExtTextOutARecordType && type != kExtTextOutWRecordType) return;
    if (record.size() < kTextOptionsAt + 4) return;
    const std::uint32_t options = UInt32At(record, kTextOptionsAt);
    if ((options & kGlyphIndexOption) == 0) return;
    SetUInt32At(record, kTextOptionsAt, options & ~kGlyphIndexOption);
    SetUInt32At(record, kTextCountAt, 0);
}

// The records from the header to the end record, each checked to lie
// within the bytes and to hold what its own counts and offsets say; empty
// when any is unsound. The converter trusts every record it is given.
std::vector<std::uint8_t> SoundRecords(std::span<const std::uint8_t> metafile) {
    std::vector<std::uint8_t> bytes(metafile.begin(), metafile.end());
    std::size_t offset = 0;
    while (offset + 8 <= bytes.size()) {
        std::uint32_t type = UInt32At(bytes, offset);
        std::uint32_t size = UInt32At(bytes, offset + 4);
        if (size < 8 || size % 4 != 0 || size > bytes.size() - offset) return {};
        if ((offset == 0) != (type == kHeaderRecordType)) return {};
        if (offset == 0 && !MakeHeaderSound(std::span(bytes).subspan(0, size))) return {};
        if (!U_emf_record_safe(reinterpret_cast<const char*>(bytes.data() + offset))) return {};
        DropGlyphIndexText(std::span(bytes).subspan(offset, size));
        offset += size;
        if (type == kEndRecordType) {
            bytes.resize(offset);
            return bytes;
        }
    }
    return {};
}

// The picture as an SVG document; empty when the converter refuses it.
QByteArray ToSvg(std::vector<std::uint8_t>& records) {
    generatorOptions options{};
    options.nameSpace = nullptr;
    options.verbose = false;
    options.emfplus = true;
    options.svgDelimiter = true;
    char* svg = nullptr;
    std::size_t length = 0;
    int ok = emf2svg(reinterpret_cast<char*>(records.data()), records.size(), &svg, &length, &options);
    std::unique_ptr<char, decltype(&std::free)> owned(svg, &std::free);
    if (!ok || svg == nullptr) return {};
    return QByteArray(svg, static_cast<qsizetype>(length));
}

}  // namespace

bool PlayEnhancedMetafile(QPainter& painter, std::span<const std::uint8_t> metafile, const QRectF& where) {
    std::vector<std::uint8_t> records = SoundRecords(metafile);
    if (records.empty()) return false;
    QByteArray svg = ToSvg(records);
    if (svg.isEmpty()) return false;
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) return false;
    renderer.render(&painter, where);
    return true;
}
