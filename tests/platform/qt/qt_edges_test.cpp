#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "qt_edges.h"

namespace {

constexpr QRgb kGround = 0xFF00FF00;

TEST(QtEdges, RingsTakeTheirSystemColoursOnTheirSides) {
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Dark, QColor(10, 10, 10));      // button shadow
    palette.setColor(QPalette::Active, QPalette::Light, QColor(250, 250, 250));  // button highlight
    palette.setColor(QPalette::Active, QPalette::Shadow, QColor(0, 0, 0));       // 3-D dark shadow
    palette.setColor(QPalette::Active, QPalette::Midlight, QColor(200, 200, 200));  // 3-D light
    const QRgb shadow = qRgb(10, 10, 10), highlight = qRgb(250, 250, 250);
    const QRgb dark = qRgb(0, 0, 0), light = qRgb(200, 200, 200);

    struct Case {
        unsigned rings;
        int x, y;
        QRgb expected;
    };
    const Case cases[] = {
        {kEdgeSunken, 0, 0, shadow},  {kEdgeSunken, 0, 5, highlight}, {kEdgeSunken, 5, 0, highlight},
        {kEdgeSunken, 1, 1, dark},    {kEdgeSunken, 4, 4, light},     {kEdgeSunken, 2, 2, kGround},
        {kEdgeRaised, 0, 0, light},   {kEdgeRaised, 5, 5, dark},      {kEdgeRaised, 1, 1, highlight},
        {kEdgeRaised, 4, 4, shadow},
        {kRaisedInner, 0, 0, highlight}, {kRaisedInner, 5, 5, shadow}, {kRaisedInner, 1, 1, kGround},
        {kSunkenOuter, 0, 0, shadow},    {kSunkenOuter, 5, 5, highlight},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "rings " << c.rings << " at " << c.x << "," << c.y);
        QImage image(6, 6, QImage::Format_RGB32);
        image.fill(kGround);
        {
            QPainter painter(&image);
            DrawEdge(painter, image.rect(), c.rings, palette);
        }
        EXPECT_EQ(image.pixel(c.x, c.y), c.expected);
    }
}

}  // namespace
