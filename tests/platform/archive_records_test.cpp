#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "archive.h"
#include "archive_records.h"
#include "byte_text.h"

namespace {

TEST(ArchiveRecords, FontIsStoredFieldByField) {
    LogFont font;
    font.height = -11;
    font.weight = 400;
    font.SetFaceName("Arial");
    Archive out = Archive::ForStoring();
    WriteLogFont(out, font);
    EXPECT_EQ(HexOf(out.Bytes()),
              "F5 FF FF FF 00 00 00 00 00 00 00 00 00 00 00 00 90 01 00 00 "
              "00 00 00 00 00 00 00 00 "
              "05 41 72 69 61 6C");
}

TEST(ArchiveRecords, EveryFieldRoundTrips) {
    LogFont font;
    font.height = -14;
    font.width = 7;
    font.escapement = 900;
    font.orientation = -900;
    font.weight = 700;
    font.italic = 1;
    font.underline = 2;
    font.strikeOut = 3;
    font.charSet = 238;
    font.outPrecision = 4;
    font.clipPrecision = 5;
    font.quality = 2;
    font.pitchAndFamily = 18;
    font.SetFaceName("Times New Roman");
    const LogPen pen{PenStyle::Dash, {3, -4}, Rgb(1, 2, 3)};
    const LogBrush brush{2, Rgb(9, 8, 7), 5};

    Archive out = Archive::ForStoring();
    WriteLogFont(out, font);
    WriteLogPen(out, pen);
    WriteLogBrush(out, brush);
    // Pen: colour, style, width x, width y; brush: colour, hatch, style.
    const std::string penAndBrush =
        "01 02 03 00 01 00 00 00 03 00 00 00 FC FF FF FF 09 08 07 00 05 00 00 00 02 00 00 00";
    std::string all = HexOf(out.Bytes());
    EXPECT_EQ(all.substr(all.size() - penAndBrush.size()), penAndBrush);

    Archive in = Archive::ForLoading(out.Bytes());
    EXPECT_EQ(ReadLogFont(in), font);
    EXPECT_EQ(ReadLogPen(in), pen);
    EXPECT_EQ(ReadLogBrush(in), brush);
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST(ArchiveRecords, StoredFontSizesAreHeldWithinWhatCanBeShown) {
    struct Case {
        std::int32_t stored, read;
    };
    const Case cases[] = {
        {INT32_MIN, -LogFont::kMaxSize}, {-LogFont::kMaxSize - 1, -LogFont::kMaxSize}, {-12, -12}, {0, 0},
        {LogFont::kMaxSize, LogFont::kMaxSize}, {INT32_MAX, LogFont::kMaxSize},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        LogFont font;
        font.height = c.stored;
        font.width = c.stored;
        Archive out = Archive::ForStoring();
        WriteLogFont(out, font);
        Archive in = Archive::ForLoading(out.Bytes());
        const LogFont read = ReadLogFont(in);
        EXPECT_EQ(read.height, c.read);
        EXPECT_EQ(read.width, c.read);
    }
}

TEST(ArchiveRecords, FaceNamesAreCutToThirtyOneCharacters) {
    const std::string longName(40, 'F');
    LogFont set;
    set.SetFaceName(longName);
    EXPECT_EQ(set.FaceName(), longName.substr(0, 31));

    // A stored name of 40 characters reads as its first 31, and the reader
    // goes on after the whole stored string.
    Archive out = Archive::ForStoring();
    for (int i = 0; i < 5; ++i) out.WriteInt32(0);
    for (int i = 0; i < 8; ++i) out.WriteByte(0);
    out.WriteString(longName);
    out.WriteInt32(77);
    Archive in = Archive::ForLoading(out.Bytes());
    EXPECT_EQ(ReadLogFont(in).FaceName(), longName.substr(0, 31));
    EXPECT_EQ(in.ReadInt32(), 77);
}

}  // namespace
