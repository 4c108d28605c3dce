#include <gtest/gtest.h>

#include <vector>

#include "bmp_file.h"

namespace {

TEST(BmpFileTest, RowsRunBottomUpAsBlueGreenRedPaddedToFourBytes) {
    // Three pixels make nine bytes a row, padded to twelve.
    const std::vector<ColorRef> pixels{Rgb(1, 2, 3), Rgb(4, 5, 6), Rgb(7, 8, 9),
                                       Rgb(10, 11, 12), Rgb(13, 14, 15), Rgb(16, 17, 18)};
    std::vector<std::uint8_t> bytes = EncodeBmp24(3, 2, pixels);
    ASSERT_EQ(bytes.size(), 54u + 24u);
    EXPECT_EQ(bytes[2], 78);  // file size, low byte
    EXPECT_EQ(bytes[34], 24);  // image size, low byte
    const std::vector<std::uint8_t> rows(bytes.begin() + 54, bytes.end());
    const std::vector<std::uint8_t> expected{12, 11, 10, 15, 14, 13, 18, 17, 16, 0, 0, 0,
                                             3,  2,  1,  6,  5,  4,  9,  8,  7,  0, 0, 0};
    EXPECT_EQ(rows, expected);
    EXPECT_THROW(EncodeBmp24(2, 2, pixels), std::invalid_argument);
}

}  // namespace
