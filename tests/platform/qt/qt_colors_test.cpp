#include <gtest/gtest.h>

#include "qt_colors.h"

namespace {

TEST(QtColors, ColorRefKeepsRedInTheLowestByte) {
    EXPECT_EQ(ToQColor(Rgb(10, 20, 30)), QColor(10, 20, 30));
    EXPECT_EQ(ToColorRef(QColor(10, 20, 30)), ColorRef{0x1E140A});
    EXPECT_EQ(ToColorRef(QColor(10, 20, 30, 40)), ColorRef{0x1E140A});
}

TEST(QtColors, SystemColoursComeFromThePalette) {
    struct Case {
        SystemColor color;
        QPalette::ColorRole role;
    };
    const Case cases[] = {
        {SystemColor::ButtonFace, QPalette::Button},      {SystemColor::ButtonText, QPalette::ButtonText},
        {SystemColor::ButtonShadow, QPalette::Dark},      {SystemColor::ButtonHighlight, QPalette::Light},
        {SystemColor::Light3D, QPalette::Midlight},       {SystemColor::DarkShadow3D, QPalette::Shadow},
        {SystemColor::Window, QPalette::Base},            {SystemColor::WindowText, QPalette::WindowText},
        {SystemColor::Highlight, QPalette::Highlight},    {SystemColor::HighlightText, QPalette::HighlightedText},
        {SystemColor::InfoBackground, QPalette::ToolTipBase},
    };
    QPalette palette;
    int shade = 0;
    for (const Case& c : cases) palette.setColor(QPalette::Active, c.role, QColor(shade += 20, 1, 2));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));

    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.color));
        EXPECT_EQ(PaletteRoleOf(c.color), c.role);
        EXPECT_EQ(SystemQColor(c.color, palette), palette.color(QPalette::Active, c.role));
    }
    EXPECT_EQ(SystemQColor(SystemColor::GrayText, palette), QColor(128, 128, 128));
}

}  // namespace
