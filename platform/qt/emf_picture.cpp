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

// The picture's bytes up to its end record, as the converter takes them:
// a header offset without a length is dropped, since the converter would
// read from it up to a terminator that may never come. Empty when the
// bytes fail the checks; the converter trusts every record it is given.
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
