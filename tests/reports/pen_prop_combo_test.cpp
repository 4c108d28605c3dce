#include <gtest/gtest.h>

#include "owner_draw_fixture.h"
#include "pen_prop_combo.h"

namespace {

TEST(CPenPropCombo, ListsTheFiveStylesBySelectionOrData) {
    CPenPropCombo combo;
    const char* names[] = {"PS_SOLID", "PS_DASH", "PS_DOT", "PS_DASHDOT", "PS_DASHDOTDOT"};
    ASSERT_EQ(combo.count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(combo.itemText(i), names[i]);
        EXPECT_EQ(combo.itemData(i, Qt::UserRole).toInt(), i);
    }
    EXPECT_EQ(combo.GetSelectedStyle(), -1);
    EXPECT_EQ(combo.SelectStyle(7), -1);
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(combo.SelectStyle(3), 3);
    EXPECT_EQ(combo.GetSelectedStyle(), 3);
    EXPECT_EQ(combo.SelectStyle(-1), -1);
    EXPECT_EQ(combo.GetSelectedStyle(), 3);
}

class PenComboDrawing : public ::testing::Test {
protected:
    CPenPropCombo combo;
    // A fiftieth of the width is left at each end: the line runs x 2..97.
    const QRect item{0, 0, 100, 20};
    static constexpr int kMiddle = 10;

    void SetUp() override { combo.setPalette(OwnerDrawTestPalette()); }

    // Pixels of the middle row in the line's colour, from x 0 to 99.
    QString Row(const QImage& image, const QColor& line) const {
        QString row;
        for (int x = 0; x < item.width(); ++x) row += PixelAt(image, x, kMiddle) == line ? '#' : '.';
        return row;
    }
};

TEST_F(PenComboDrawing, DrawsTheItemsStyleAcrossTheMiddle) {
    QImage solid = DrawnItem(combo, {item, 0, false, false, false});
    EXPECT_EQ(Row(solid, Qt::black), QString(2, '.') + QString(96, '#') + QString(2, '.'));
    EXPECT_EQ(PixelAt(solid, 50, kMiddle - 1), QColor(Qt::white));

    for (int style = 1; style <= 4; ++style) {
        QString row = Row(DrawnItem(combo, {item, style, false, false, false}), Qt::black);
        EXPECT_TRUE(row.mid(2, 96).contains('.')) << "style " << style << ": " << row.toStdString();
        EXPECT_EQ(row[2], '#') << "style " << style;
    }
}

TEST_F(PenComboDrawing, SelectedItemsInvertTheTextColourAndDisabledOnesLeaveTheBackground) {
    QImage selected = DrawnItem(combo, {item, 0, true, false, false});
    EXPECT_EQ(PixelAt(selected, 0, 0), QColor(0, 0, 128));
    EXPECT_EQ(PixelAt(selected, 50, kMiddle), QColor(Qt::white));

    QImage disabled = DrawnItem(combo, {item, 0, false, false, true}, Qt::magenta);
    EXPECT_EQ(PixelAt(disabled, 0, 0), QColor(Qt::magenta));
    EXPECT_EQ(PixelAt(disabled, 50, kMiddle), QColor(128, 128, 128));
}

}  // namespace
