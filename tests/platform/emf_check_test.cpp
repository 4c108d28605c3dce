#include <gtest/gtest.h>

#include "emf_check.h"
#include "emf_fixture.h"
#include "metafile_bytes.h"

namespace {

TEST(CheckEnhancedMetafile, AnswersTheHeadersBoundsOfASoundPicture) {
    EXPECT_EQ(CheckEnhancedMetafile(EmptyMetafile()), (Rect{0, 0, 99, 49}));
    std::vector<std::uint8_t> moved = WithUInt32At(WithUInt32At(EmptyMetafile(), 8, static_cast<std::uint32_t>(-20)), 16, 300);
    EXPECT_EQ(CheckEnhancedMetafile(moved), (Rect{-20, 0, 300, 49}));
    EXPECT_EQ(CheckEnhancedMetafile(FilledRectangleMetafile(40, 30, 255, 0, 0)), (Rect{0, 0, 39, 29}));

    // Bytes after the end record are not part of the picture.
    std::vector<std::uint8_t> trailed = EmptyMetafile();
    trailed.resize(trailed.size() + 12, 0xAB);
    EXPECT_EQ(CheckEnhancedMetafile(trailed), (Rect{0, 0, 99, 49}));
}

TEST(CheckEnhancedMetafile, RefusesBytesThatFailAnyCheck) {
    const std::vector<std::uint8_t> picture = EmptyMetafile();
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"nothing", {}},
        {"a wrong signature", WithUInt32At(picture, 40, 0x464D4521)},
        {"not a header first", WithUInt32At(picture, 0, 2)},
        {"a short file", std::vector<std::uint8_t>(picture.begin(), picture.begin() + 60)},
        {"no end record", std::vector<std::uint8_t>(picture.begin(), picture.begin() + 88)},
        {"a header size below the fixed part", WithUInt32At(picture, 4, 80)},
        {"a header size past the file", WithUInt32At(picture, 4, 4000)},
        {"a header size of no multiple of 4", WithUInt32At(picture, 4, 90)},
        {"a record size of 0", WithUInt32At(picture, 92, 0)},
        {"a record size past the file", WithUInt32At(picture, 92, 24)},
        {"a total size above the file", WithUInt32At(picture, 48, 112)},
        {"a total size below the file", WithUInt32At(picture, 48, 88)},
        {"a description beyond the header", WithUInt32At(WithUInt32At(picture, 60, 4), 64, 88)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CheckEnhancedMetafile(c.bytes), std::nullopt);
    }
}

}  // namespace
