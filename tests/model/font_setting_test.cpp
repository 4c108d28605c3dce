#include <gtest/gtest.h>

#include <string>

#include "font_setting.h"

namespace {

TEST(FontSetting, StartsAsTheLabelDefault) {
    FontSetting setting;
    EXPECT_EQ(setting.font.FaceName(), "MS Sans Serif");
    EXPECT_EQ(setting.font.height, -12);
    EXPECT_EQ(setting.font.weight, 400);
    EXPECT_EQ(setting.font.quality, 2);
    EXPECT_EQ(setting.font.pitchAndFamily, 18);
    EXPECT_EQ(setting.font.width + setting.font.escapement + setting.font.orientation, 0);
    EXPECT_EQ(setting.font.italic + setting.font.underline + setting.font.strikeOut + setting.font.charSet, 0);
    EXPECT_EQ(setting.color, kBlack);
}

TEST(FontSetting, TakingAFontKeepsTheColourAndCutsALongFace) {
    FontSetting setting;
    setting.color = kRed;
    LogFont font;
    font.height = -20;
    font.weight = 700;
    font.SetFaceName(std::string(40, 'x'));
    setting.font = font;
    EXPECT_EQ(setting.font, font);
    EXPECT_EQ(setting.font.FaceName(), std::string(31, 'x'));
    EXPECT_EQ(setting.color, kRed);
}

}  // namespace
