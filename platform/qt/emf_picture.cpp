#include "emf_picture.h"

#include <cstdlib>
#include <memory>
#include <vector>

#include <QByteArray>
#include <QPainter>
#include <QSvgRenderer>

#include <emf2svg.h>

namespace {

// The smallest file that can hold a picture: the header record alone.
constexpr std::size_t kHeaderSize = 88;
constexpr std::uint32_t kHeaderRecordType = 1;

bool StartsWithHeader(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderSize) return false;
    std::uint32_t type = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (std::uint32_t{bytes[3]} << 24);
    return type == kHeaderRecordType;
}

// The picture as an SVG document; empty when the converter refuses it.
QByteArray ToSvg(std::span<const std::uint8_t> metafile) {
    // The converter takes a writable buffer; give it a copy.
    std::vector<char> contents(metafile.begin(), metafile.end());
    generatorOptions options{};
    options.nameSpace = nullptr;
    options.verbose = false;
    options.emfplus = true;
    options.svgDelimiter = true;
    char* svg = nullptr;
    std::size_t length = 0;
    int ok = emf2svg(contents.data(), contents.size(), &svg, &length, &options);
    std::unique_ptr<char, decltype(&std::free)> owned(svg, &std::free);
    if (!ok || svg == nullptr) return {};
    return QByteArray(svg, static_cast<qsizetype>(length));
}

}  // namespace

bool PlayEnhancedMetafile(QPainter& painter, std::span<const std::uint8_t> metafile, const QRectF& where) {
    if (!StartsWithHeader(metafile)) return false;
    QByteArray svg = ToSvg(metafile);
    if (svg.isEmpty()) return false;
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) return false;
    renderer.render(&painter, where);
    return true;
}
