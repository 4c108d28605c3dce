#include "archive_records.h"

#include <algorithm>

void WriteLogFont(Archive& archive, const LogFont& font) {
    for (std::int32_t value : {font.height, font.width, font.escapement, font.orientation, font.weight}) {
        archive.WriteInt32(value);
    }
    for (std::uint8_t flag : {font.italic, font.underline, font.strikeOut, font.charSet, font.outPrecision,
                              font.clipPrecision, font.quality, font.pitchAndFamily}) {
        archive.WriteByte(flag);
    }
    archive.WriteString(font.FaceName());
}

LogFont ReadLogFont(Archive& archive) {
    LogFont font;
    for (std::int32_t* value : {&font.height, &font.width, &font.escapement, &font.orientation, &font.weight}) {
        *value = archive.ReadInt32();
    }
    for (std::uint8_t* flag : {&font.italic, &font.underline, &font.strikeOut, &font.charSet,
                               &font.outPrecision, &font.clipPrecision, &font.quality, &font.pitchAndFamily}) {
        *flag = archive.ReadByte();
    }
    font.SetFaceName(archive.ReadString());
    for (std::int32_t* size : {&font.height, &font.width}) {
        *size = std::clamp(*size, -LogFont::kMaxSize, LogFont::kMaxSize);
    }
    return font;
}

void WriteLogPen(Archive& archive, const LogPen& pen) {
    archive.WriteUInt32(pen.color);
    archive.WriteInt32(pen.style);
    archive.WriteInt32(pen.width.x);
    archive.WriteInt32(pen.width.y);
}

LogPen ReadLogPen(Archive& archive) {
    LogPen pen;
    pen.color = archive.ReadUInt32();
    pen.style = archive.ReadInt32();
    pen.width.x = archive.ReadInt32();
    pen.width.y = archive.ReadInt32();
    return pen;
}

void WriteLogBrush(Archive& archive, const LogBrush& brush) {
    archive.WriteUInt32(brush.color);
    archive.WriteInt32(brush.hatch);
    archive.WriteInt32(brush.style);
}

LogBrush ReadLogBrush(Archive& archive) {
    LogBrush brush;
    brush.color = archive.ReadUInt32();
    brush.hatch = archive.ReadInt32();
    brush.style = archive.ReadInt32();
    return brush;
}
