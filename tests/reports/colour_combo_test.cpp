#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include <QColor>

#include "colour_combo.h"
#include "named_colour_table.h"
#include "owner_draw_fixture.h"
#include "qt_colors.h"

namespace {

std::string Lowered(const char* name) {
    std::string text(name);
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

TEST(NamedColourTable, HoldsTheCssColoursInAlphabeticalOrder) {
    for (const NamedColour& entry : NamedColourTable) {
        ASSERT_LT(strnlen(entry.name, sizeof entry.name), sizeof entry.name);
        QColor css(QString::fromLatin1(entry.name));
        ASSERT_TRUE(css.isValid()) << entry.name;
        EXPECT_EQ(entry.colour, ToColorRef(css)) << entry.name;
    }
    EXPECT_TRUE(std::is_sorted(
        NamedColourTable.begin(), NamedColourTable.end(),
        [](const NamedColour& a, const NamedColour& b) { return Lowered(a.name) < Lowered(b.name); }));
    EXPECT_STREQ(NamedColourTable.front().name, "AliceBlue");
    EXPECT_STREQ(NamedColourTable[68].name, "LightGrey");
    EXPECT_STREQ(NamedColourTable.back().name, "YellowGreen");
}

TEST(CColourCombo, FillsOnceWhateverItHeldAndSelectsNothing) {
    CColourCombo combo;
    combo.Fill();
    combo.setCurrentIndex(3);
    combo.Fill();
    ASSERT_EQ(combo.count(), 140);
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(combo.GetSelectedColour(), 0u);
    EXPECT_EQ(combo.itemText(1), "AntiqueWhite");
    EXPECT_EQ(combo.itemData(1, Qt::UserRole).toUInt(), 0xD7EBFAu);
}

TEST(CColourCombo, SelectsTheFirstNameOfAColour) {
    struct Case {
        ColorRef colour;
        const char* name;
    };
    const Case cases[] = {{0xFFFF00, "Aqua"}, {0xFF00FF, "Fuchsia"}, {0x808080, "Gray"}, {0x000080, "Maroon"},
                          {0x000000, "Black"}};
    CColourCombo combo;
    combo.Fill();
    for (const Case& c : cases) {
        combo.SelectColour(c.colour);
        EXPECT_EQ(combo.currentText(), c.name);
        EXPECT_EQ(combo.GetSelectedColour(), c.colour);
    }
    combo.SelectColour(0x123456);
    EXPECT_EQ(combo.currentText(), "Black");
}

class ColourComboDrawing : public ::testing::Test {
protected:
    CColourCombo combo;
    const QRect item{0, 0, 160, 20};  // the swatch ends at a quarter: x 40

    void SetUp() override {
        combo.setPalette(OwnerDrawTestPalette());
        combo.Fill();
    }
    QImage Draw(int index, bool selected = false, bool disabled = false) {
        return DrawnItem(combo, {item, index, selected, false, disabled});
    }
};

TEST_F(ColourComboDrawing, DrawsAFramedSwatchAndTheName) {
    const int red = combo.findText("Red");
    QImage image = Draw(red);
    EXPECT_EQ(PixelAt(image, 0, 0), QColor(Qt::white));
    EXPECT_EQ(PixelAt(image, 20, 10), QColor(Qt::red));
    EXPECT_EQ(PixelAt(image, 2, 2), QColor(Qt::black));    // the frame's corner
    EXPECT_EQ(PixelAt(image, 39, 17), QColor(Qt::black));  // and the opposite one
    EXPECT_EQ(PixelAt(image, 40, 10), QColor(Qt::white));
    EXPECT_EQ(PixelAt(image, 20, 18), QColor(Qt::white));
    bool nameDrawn = false;
    for (int x = 42; x < 100; ++x) {
        for (int y = 2; y < 20; ++y) nameDrawn = nameDrawn || PixelAt(image, x, y) != QColor(Qt::white);
    }
    EXPECT_TRUE(nameDrawn);
}

TEST_F(ColourComboDrawing, SelectedAndDisabledItemsTakeTheirSystemColours) {
    const int red = combo.findText("Red");
    QImage selected = Draw(red, true);
    EXPECT_EQ(PixelAt(selected, 0, 0), QColor(0, 0, 128));
    EXPECT_EQ(PixelAt(selected, 20, 10), QColor(Qt::red));

    QImage disabled = Draw(red, false, true);
    EXPECT_EQ(PixelAt(disabled, 20, 10), QColor(128, 128, 128));

    // Without an item only the background is drawn.
    QImage empty = Draw(-1);
    EXPECT_EQ(PixelAt(empty, 20, 10), QColor(Qt::white));
}

}  // namespace
