#include <gtest/gtest.h>

#include <QImage>

#include "owner_draw_geometry.h"

namespace {

TEST(OwnerDrawGeometry, SwatchAndTextFollowTheLayout) {
    const QRect item(10, 40, 200, 20);
    struct Case {
        SwatchLayout layout;
        QRect swatch;
        int textLeft;
    };
    const Case cases[] = {
        // margin 2, bottom margin 3, right edge 30, gap 4
        {{4, 2, 3, 2, 30}, QRect(12, 42, 28, 15), 44},
        // a right edge not right of the left margin: one gap wide
        {{3, 0, 0, 0, 0}, QRect(10, 40, 3, 20), 16},
        {{3, 0, 0, 5, 5}, QRect(15, 40, 3, 20), 21},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SwatchRect(item, c.layout), c.swatch);
        EXPECT_EQ(ItemTextLeft(item, c.layout), c.textLeft);
    }
    EXPECT_EQ(ItemTextLeft(item, SwatchLayout{}), 10);
    EXPECT_EQ(DimmedRect(item), QRect(13, 43, 194, 14));
}

TEST(OwnerDrawGeometry, GridCellsShowOnlyWhenTheyFitInside) {
    struct Case {
        QRect cell;
        bool shown;
    };
    const Case cases[] = {
        {QRect(0, 0, 100, 18), true},    {QRect(200, 0, 100, 18), true},  // ends at the edge
        {QRect(201, 0, 100, 18), false}, {QRect(-100, 0, 100, 18), false},
        {QRect(-99, 0, 100, 18), true},  {QRect(5, 0, 0, 18), false},
    };
    for (const Case& c : cases) EXPECT_EQ(GridCellShown(c.cell, 300), c.shown) << c.cell.x();
    EXPECT_EQ(GridCellTextRect(QRect(100, 0, 50, 18)), QRect(101, 0, 47, 18));
}

QImage Filled(QRgb color, QSize size = QSize(8, 8)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

TEST(OwnerDrawGeometry, BlendMixesEachChannelByWeight) {
    struct Case {
        QRgb destination;
        QRgb source;
        int weight;
        QRgb result;
    };
    const Case cases[] = {
        {qRgb(200, 200, 200), qRgb(0, 0, 0), 50, qRgb(160, 160, 160)},  // a dimmed item
        {qRgb(255, 100, 0), qRgb(0, 0, 0), 50, qRgb(204, 80, 0)},
        {qRgb(0, 0, 0), qRgb(255, 255, 255), 255, qRgb(254, 254, 254)},
        {qRgb(200, 10, 90), qRgb(0, 0, 0), 0, qRgb(199, 9, 89)},
    };
    for (const Case& c : cases) {
        QImage destination = Filled(c.destination);
        QImage source = Filled(c.source, QSize(1, 1));
        ASSERT_TRUE(BlendRect(destination, QRect(2, 2, 4, 4), source, source.rect(), c.weight));
        EXPECT_EQ(destination.pixel(3, 3), c.result);
        EXPECT_EQ(destination.pixel(1, 1), c.destination);  // outside the rectangle
        EXPECT_EQ(destination.pixel(6, 6), c.destination);
    }
}

TEST(OwnerDrawGeometry, BlendOutsideTheImagesChangesNothing) {
    QImage destination = Filled(qRgb(200, 200, 200));
    QImage source = Filled(qRgb(0, 0, 0), QSize(1, 1));
    EXPECT_FALSE(BlendRect(destination, QRect(4, 4, 8, 8), source, source.rect(), 50));
    EXPECT_FALSE(BlendRect(destination, QRect(0, 0, 4, 4), source, QRect(0, 0, 2, 2), 50));
    EXPECT_FALSE(BlendRect(destination, QRect(0, 0, 0, 4), source, source.rect(), 50));
    EXPECT_EQ(destination, Filled(qRgb(200, 200, 200)));
}

}  // namespace
