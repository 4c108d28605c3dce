#include <gtest/gtest.h>

#include <QAbstractItemDelegate>
#include <QImage>
#include <QPainter>
#include <QStyleOptionViewItem>

#include "color_list_box.h"
#include "owner_draw_geometry.h"
#include "qt_colors.h"

namespace {

constexpr QSize kItemSize(200, 24);

ColorListItem Item(ColorRef color, ColorRef textColor = kBlack, bool enabled = true) {
    ColorListItem item;
    item.color = color;
    item.textColor = textColor;
    item.enabled = enabled;
    return item;
}

// The item as the list draws it, alone in an image of its size.
QImage Paint(const ColorListBox& list, int row, QStyle::State state = QStyle::State_Enabled) {
    QImage image(kItemSize, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QStyleOptionViewItem option;
    option.initFrom(&list);
    option.rect = QRect(QPoint(0, 0), kItemSize);
    option.state = state;
    QPainter painter(&image);
    list.itemDelegate()->paint(&painter, option, list.model()->index(row, 0));
    return image;
}

// Pixels of the image's right half, where a short text never reaches.
QRgb Background(const QImage& image) { return image.pixel(kItemSize.width() - 20, kItemSize.height() / 2); }

int TextPixels(const QImage& image, QRgb background, QRect area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) count += image.pixel(x, y) != background;
    }
    return count;
}

TEST(ColorListBox, ItemsAreInsertedOnlyWithinTheList) {
    ColorListBox list;
    struct Case {
        int index;
        int answer;
        int count;
    };
    const Case cases[] = {{1, -1, 0}, {-1, -1, 0}, {0, 0, 1}, {1, 1, 2}, {3, -1, 2}, {0, 0, 3}, {3, 3, 4}};
    for (const Case& c : cases) {
        EXPECT_EQ(list.InsertItem(QString::number(c.index), c.index, Item(kWhite)), c.answer) << c.index;
        EXPECT_EQ(list.count(), c.count);
    }
    EXPECT_EQ(list.item(3)->text(), "3");  // at the count: appended
    list.ResetContent();
    EXPECT_EQ(list.count(), 0);
}

TEST(ColorListBox, TextColoursAreSetOnTheSelectionOrAnItemInside) {
    ColorListBox list;
    EXPECT_FALSE(list.SetItemTextColor(kRed));  // empty list
    list.AddItem("Default line color", Item(kWhite));
    list.AddItem("Name", Item(kWhite));
    EXPECT_FALSE(list.SetItemTextColor(kRed));  // no selection
    EXPECT_FALSE(list.SetItemTextColor(kRed, 2));
    EXPECT_TRUE(list.SetItemTextColor(kBlue, 0));
    list.setCurrentRow(1);
    EXPECT_TRUE(list.SetItemTextColor(kRed));
    EXPECT_EQ(list.ItemRecord(0).textColor, kBlue);
    EXPECT_EQ(list.ItemRecord(1).textColor, kRed);
}

TEST(ColorListBox, ItemsAreFilledOrGetASwatch) {
    ColorListBox list;
    list.AddItem("Bus", Item(Rgb(10, 120, 230)));
    QImage filled = Paint(list, 0);
    EXPECT_EQ(filled.pixel(1, 1), qRgb(10, 120, 230));
    EXPECT_EQ(Background(filled), qRgb(10, 120, 230));

    list.SetSwatchLayout(2, 99, 3, 40);
    list.SetSwatchGap(3);
    QImage swatched = Paint(list, 0);
    QRect swatch = SwatchRect(QRect(QPoint(0, 0), kItemSize), list.Swatch());
    EXPECT_EQ(swatch, QRect(2, 2, 38, 19));
    EXPECT_EQ(swatched.pixel(swatch.center()), qRgb(10, 120, 230));
    EXPECT_EQ(swatched.pixel(swatch.left(), swatch.top()), qRgb(10, 120, 230));
    QRgb window = SystemQColor(SystemColor::Window, list.palette()).rgb();
    EXPECT_EQ(swatched.pixel(1, 1), window);  // the margin
    EXPECT_EQ(swatched.pixel(swatch.right() + 2, swatch.center().y()), window);  // the gap before the text
    EXPECT_EQ(Background(swatched), window);
    EXPECT_GT(TextPixels(swatched, window, QRect(ItemTextLeft(QRect(QPoint(0, 0), kItemSize), list.Swatch()), 0, 40,
                                                 kItemSize.height())),
              0);
}

TEST(ColorListBox, ADisabledItemIsDarkenedInsideButKeepsItsText) {
    ColorListBox list;
    list.AddItem("Load", Item(Rgb(200, 200, 200), kBlack, false));
    list.AddItem("Load", Item(Rgb(200, 200, 200), kBlack, true));
    QImage disabled = Paint(list, 0);
    QImage enabled = Paint(list, 1);
    QRect dimmed = DimmedRect(QRect(QPoint(0, 0), kItemSize));
    EXPECT_EQ(Background(disabled), qRgb(160, 160, 160));
    EXPECT_EQ(disabled.pixel(dimmed.topLeft()), qRgb(160, 160, 160));
    EXPECT_EQ(disabled.pixel(dimmed.left() - 1, dimmed.top()), qRgb(200, 200, 200));  // the 3-pixel frame
    EXPECT_EQ(disabled.pixel(kItemSize.width() - 1, kItemSize.height() - 1), qRgb(200, 200, 200));
    QRect text(0, 0, 40, kItemSize.height());
    EXPECT_EQ(TextPixels(disabled, qRgb(160, 160, 160), dimmed & text),
              TextPixels(enabled, qRgb(200, 200, 200), dimmed & text));
}

TEST(ColorListBox, SystemColoursFollowThePalette) {
    ColorListBox list;
    list.AddItem("1.05", Item(kSystemColor, kSystemColor));
    QPalette palette = list.palette();
    palette.setColor(PaletteRoleOf(SystemColor::Window), QColor(250, 240, 200));
    list.setPalette(palette);
    EXPECT_EQ(Background(Paint(list, 0)), qRgb(250, 240, 200));
    palette.setColor(PaletteRoleOf(SystemColor::Window), QColor(20, 30, 40));
    list.setPalette(palette);
    EXPECT_EQ(Background(Paint(list, 0)), qRgb(20, 30, 40));
}

TEST(ColorListBox, FocusRectanglesOnlyWhenAskedFor) {
    ColorListBox list;
    list.AddItem("Name", Item(kWhite));
    QRect border(0, 0, kItemSize.width(), 3);
    QStyle::State focused = QStyle::State_Enabled | QStyle::State_HasFocus;
    EXPECT_EQ(TextPixels(Paint(list, 0, focused), qRgb(255, 255, 255), border), 0);
    list.SetDrawFocus(true);
    EXPECT_EQ(TextPixels(Paint(list, 0), qRgb(255, 255, 255), border), 0);
    EXPECT_GT(TextPixels(Paint(list, 0, focused), qRgb(255, 255, 255), border), 0);
}

TEST(ColorListBox, ItemsAreSixPixelsTallerThanTheirText) {
    ColorListBox list;
    list.AddItem("M", Item(kWhite));
    QStyleOptionViewItem option;
    option.initFrom(&list);
    QModelIndex index = list.model()->index(0, 0);
    EXPECT_EQ(list.itemDelegate()->sizeHint(option, index).height(), QFontMetrics(list.font()).height() + 6);
    list.SetFixedItemHeight(14);
    EXPECT_EQ(list.itemDelegate()->sizeHint(option, index).height(), 20);
}

}  // namespace
