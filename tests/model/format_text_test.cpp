#include <gtest/gtest.h>

#include <string>

#include "format_text.h"

namespace {

// Short texts are formatted on the stack, longer ones at their length: both
// come out whole, with no byte lost or added at the border.
TEST(FormatText, TextsOfEveryLengthComeOutWhole) {
    for (std::size_t length : {0u, 1u, 254u, 255u, 256u, 257u, 4000u}) {
        const std::string name(length, 'x');
        EXPECT_EQ(FormatText("%s", name.c_str()), name) << length;
        EXPECT_EQ(FormatText("%s=%.2f", name.c_str(), 1.005), name + "=1.00") << length;
    }
}

}  // namespace
