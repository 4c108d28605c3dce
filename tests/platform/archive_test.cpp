#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "archive.h"
#include "byte_text.h"

namespace {

TEST(Archive, CountedStringPrefixes) {
    struct Case {
        std::size_t length;
        const char* prefix;
    };
    const Case cases[] = {
        {0, "00"},
        {254, "FE"},
        {255, "FF FF 00"},
        {65533, "FF FD FF"},
        {65534, "FF FF FF FE FF 00 00"},
        {70000, "FF FF FF 70 11 01 00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        std::string text(c.length, 'x');
        for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
        Archive out = Archive::ForStoring();
        out.WriteString(text);
        auto prefix = BytesFromHex(c.prefix);
        ASSERT_EQ(out.Bytes().size(), prefix.size() + c.length);
        EXPECT_EQ(HexOf({out.Bytes().begin(), out.Bytes().begin() + prefix.size()}), c.prefix);

        Archive in = Archive::ForLoading(out.Bytes());
        EXPECT_EQ(in.ReadString(), text);
        EXPECT_EQ(in.Remaining(), 0u);
    }
}

TEST(Archive, CollectionCounts) {
    struct Case {
        std::size_t count;
        const char* bytes;
    };
    const Case cases[] = {
        {0, "00 00"},
        {0xFFFE, "FE FF"},
        {0xFFFF, "FF FF FF FF 00 00"},
        {0x12345, "FF FF 45 23 01 00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        Archive out = Archive::ForStoring();
        out.WriteCount(c.count);
        EXPECT_EQ(HexOf(out.Bytes()), c.bytes);

        // The items themselves: one byte each, as many as counted.
        std::vector<std::uint8_t> bytes = out.Bytes();
        bytes.resize(bytes.size() + c.count);
        Archive in = Archive::ForLoading(bytes);
        EXPECT_EQ(in.ReadCount(), c.count);
        EXPECT_EQ(in.Remaining(), c.count);
    }
}

TEST(Archive, NumbersAreLittleEndian) {
    Archive out = Archive::ForStoring();
    out.WriteInt16(-2);
    out.WriteInt32(-11);
    out.WriteUInt32(0x80000001u);
    out.WriteByte(0xAB);
    out.WriteDouble(1.0);
    out.WriteDouble(-0.0);
    out.WriteInt32(std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(HexOf(out.Bytes()),
              "FE FF F5 FF FF FF 01 00 00 80 AB 00 00 00 00 00 00 F0 3F "
              "00 00 00 00 00 00 00 80 00 00 00 80");

    Archive in = Archive::ForLoading(out.Bytes());
    EXPECT_EQ(in.ReadInt16(), -2);
    EXPECT_EQ(in.ReadInt32(), -11);
    EXPECT_EQ(in.ReadUInt32(), 0x80000001u);
    EXPECT_EQ(in.ReadByte(), 0xAB);
    EXPECT_EQ(in.ReadDouble(), 1.0);
    double negativeZero = in.ReadDouble();
    EXPECT_EQ(negativeZero, 0.0);
    EXPECT_TRUE(std::signbit(negativeZero));
    EXPECT_EQ(in.ReadInt32(), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST(Archive, RawBlocksCarryTheirSize) {
    const std::vector<std::uint8_t> metafile{0x01, 0x00, 0x00, 0x00, 0x6C};
    Archive out = Archive::ForStoring();
    out.WriteBlock(metafile);
    out.WriteBlock({});
    EXPECT_EQ(HexOf(out.Bytes()), "05 00 00 00 01 00 00 00 6C 00 00 00 00");

    Archive in = Archive::ForLoading(out.Bytes());
    EXPECT_EQ(in.ReadBlock(), metafile);
    EXPECT_TRUE(in.ReadBlock().empty());
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST(Archive, DamagedOrMisusedArchivesRaiseTheArchiveError) {
    using Kind = ArchiveError::Kind;
    struct Case {
        const char* name;
        const char* bytes;
        std::function<void(Archive&)> read;
        Kind kind;
    };
    const Case cases[] = {
        {"truncated int32", "01 02 03", [](Archive& a) { a.ReadInt32(); }, Kind::EndOfData},
        {"truncated double", "00 00 00 00 00 00 F0", [](Archive& a) { a.ReadDouble(); }, Kind::EndOfData},
        {"empty buffer", "", [](Archive& a) { a.ReadByte(); }, Kind::EndOfData},
        {"string cut inside its 16-bit length", "FF 05", [](Archive& a) { a.ReadString(); }, Kind::EndOfData},
        {"string longer than the rest", "05 41 42 43", [](Archive& a) { a.ReadString(); }, Kind::BadSize},
        {"16-bit length beyond the rest", "FF 00 01 41", [](Archive& a) { a.ReadString(); }, Kind::BadSize},
        {"32-bit length of 2^31", "FF FF FF 00 00 00 80 41 42", [](Archive& a) { a.ReadString(); },
         Kind::BadSize},
        {"32-bit length of 2^32 - 1", "FF FF FF FF FF FF FF", [](Archive& a) { a.ReadString(); },
         Kind::BadSize},
        {"UTF-16 marker", "FF FE FF 01 41 00", [](Archive& a) { a.ReadString(); }, Kind::WideString},
        {"count beyond the rest", "03 00 01 02", [](Archive& a) { a.ReadCount(); }, Kind::BadSize},
        {"32-bit count of 2^31", "FF FF 00 00 00 80", [](Archive& a) { a.ReadCount(); }, Kind::BadSize},
        {"count of 8-byte items beyond the rest", "02 00 01 02 03 04 05 06 07 08 09",
         [](Archive& a) { a.ReadCount(8); }, Kind::BadSize},
        {"negative int32 count", "FF FF FF FF", [](Archive& a) { a.ReadInt32Count(); }, Kind::BadSize},
        {"int32 count beyond the rest", "02 00 00 00 07", [](Archive& a) { a.ReadInt32Count(); },
         Kind::BadSize},
        {"negative block size", "FE FF FF FF 00 00", [](Archive& a) { a.ReadBlock(); }, Kind::BadSize},
        {"block of 2^31 - 1 bytes", "FF FF FF 7F 00", [](Archive& a) { a.ReadBlock(); }, Kind::BadSize},
        {"write on a loading archive", "", [](Archive& a) { a.WriteInt32(1); }, Kind::WrongMode},
        {"string written on a loading archive", "", [](Archive& a) { a.WriteString("x"); },
         Kind::WrongMode},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Archive in = Archive::ForLoading(BytesFromHex(c.bytes));
        try {
            c.read(in);
            ADD_FAILURE() << "no archive error";
        } catch (const ArchiveError& error) {
            EXPECT_EQ(error.GetKind(), c.kind) << error.what();
        }
    }
}

TEST(Archive, ReadingAStoringArchiveIsAnError) {
    Archive out = Archive::ForStoring();
    out.WriteInt32(7);
    EXPECT_EQ(out.Remaining(), 0u);
    for (auto read : std::vector<std::function<void(Archive&)>>{
             [](Archive& a) { a.ReadInt32(); }, [](Archive& a) { a.ReadString(); },
             [](Archive& a) { a.ReadCount(); }, [](Archive& a) { a.ReadBlock(); }}) {
        try {
            read(out);
            ADD_FAILURE() << "no archive error";
        } catch (const ArchiveError& error) {
            EXPECT_EQ(error.GetKind(), ArchiveError::Kind::WrongMode);
        }
    }
    EXPECT_EQ(HexOf(out.Bytes()), "07 00 00 00");
}

}  // namespace
