#include "emf_picture.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include <QByteArray>
#include <QPainter>
#include <QSvgRenderer>

#include <emf2svg.h>

#include "emf_check.h"

namespace {

constexpr std::uint32_t kExtTextOutARecordType = 83;
constexpr std::uint32_t kExtTextOutWRecordType = 84;
// In both text records: the character count and the options of the text.
constexpr std::size_t kTextCountAt = 44;
constexpr std::size_t kTextOptionsAt = 52;
constexpr std::uint32_t kGlyphIndexOption = 0x10;

void SetUInt32At(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Text given as glyph indices is left out: to turn them into characters
// the converter looks the font up through fontconfig and then finalises
// fontconfig, under the program's own fonts, which still use it (a crash,
// or fonts that point into freed memory).
void DropGlyphIndexText(std::span<std::uint8_t> record) {
    const std::uint32_t type = EmfUInt32At(record, 0);
    if (type != kExtTextOutARecordType && type != kExtTextOutWRecordType) return;
    if (record.size() < kTextOptionsAt + 4) return;
    const std::uint32_t options = EmfUInt32At(record, kTextOptionsAt);
    if ((options & kGlyphIndexOption) == 0) return;
    SetUInt32At(record, kTextOptionsAt, options & ~kGlyphIndexOption);
    SetUInt32At(record, kTextCountAt, 0);
}

// The picture's bytes up to its end record, as the converter takes them:
// a header offset without a length is dropped, since the converter would
// read from it up to a terminator that may never come, and so is text
// given as glyph indices. Empty when the bytes fail the checks; the
// converter trusts every record it is given.
std::vector<std::uint8_t> CheckedRecords(std::span<const std::uint8_t> metafile) {
    if (!CheckEnhancedMetafile(metafile)) return {};
    std::size_t total = EmfUInt32At(metafile, EmfHeader::kTotalBytesAt);
    std::vector<std::uint8_t> bytes(metafile.begin(), metafile.begin() + static_cast<std::ptrdiff_t>(total));
    std::size_t headerSize = EmfUInt32At(bytes, 4);
    auto dropOffsetWithoutLength = [&](std::size_t lengthAt, std::size_t offsetAt) {
        if (headerSize < offsetAt + 4 || EmfUInt32At(bytes, lengthAt) != 0) return;
        std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(offsetAt), 4, 0);
    };
    dropOffsetWithoutLength(EmfHeader::kDescriptionLengthAt, EmfHeader::kDescriptionOffsetAt);
    dropOffsetWithoutLength(EmfHeader::kPixelFormatSizeAt, EmfHeader::kPixelFormatOffsetAt);
    // The check saw every record lie within the bytes.
    for (std::size_t offset = 0; offset + 8 <= bytes.size();) {
        const std::size_t size = EmfUInt32At(bytes, offset + 4);
        DropGlyphIndexText(std::span(bytes).subspan(offset, size));
        offset += size;
    }
    return bytes;
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
    std::vector<std::uint8_t> records = CheckedRecords(metafile);
    if (records.empty()) return false;
    QByteArray svg = ToSvg(records);
    if (svg.isEmpty()) return false;
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) return false;
    renderer.render(&painter, where);
    return true;
}
