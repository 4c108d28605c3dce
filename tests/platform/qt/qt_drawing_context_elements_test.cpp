#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "bus_fixture.h"
#include "document_model.h"
#include "generator.h"
#include "load.h"
#include "power_line.h"
#include "qt_colors.h"
#include "qt_drawing_context.h"
#include "recording_view.h"
#include "shunt.h"

namespace {

constexpr QRgb kInk = 0xFF000000;
constexpr ColorRef kPaleYellow = 0xC0FFFF;  // COLORREF: blue 0xC0, green and red 0xFF

// A 2-bus network drawn as the network view draws it: the model's
// background first, then the elements through the Qt drawing context.
// Bus A is a bar from (100, 100) to (100, 140) with a generator on its left
// and a reactor hanging from its lower end; bus B from (300, 100) to
// (300, 140) with a load on its right; a line joins them at y = 120.
class TwoBusPicture : public ::testing::Test {
protected:
    TwoBusPicture() : image_(400, 250, QImage::Format_RGB32) {
        model->SetView(&view_);
        model->SetBackgroundColor(kPaleYellow);
        AddBus<Bus>(*model, Point{100, 100}, true);
        AddBus<Bus>(*model, Point{300, 100}, true);
        Join(*model, ElementType::PowerLine, {100, 120}, {300, 120});
        generator_ = &Place(*model, ElementType::Generator, {105, 110});
        reactor_ = &dynamic_cast<Reactor&>(Place(*model, ElementType::Reactor, {100, 140}));
        load_ = &dynamic_cast<Load&>(Place(*model, ElementType::Load, {295, 130}));

        image_.fill(ToQColor(model->GetBackgroundColor()));
        QPainter painter(&image_);
        QtDrawingContext dc(painter);
        model->Draw(dc, nullptr);
    }

    QRgb At(Point p) const { return image_.pixel(p.x, p.y); }
    QRgb Background() const { return ToQColor(kPaleYellow).rgb(); }

    DocumentModel model;
    RecordingView view_;
    IElement* generator_ = nullptr;
    Reactor* reactor_ = nullptr;
    Load* load_ = nullptr;
    QImage image_;
};

TEST_F(TwoBusPicture, ShowsTheBackgroundFilledBarsCoilsAndArrowHeads) {
    EXPECT_EQ(At({0, 0}), Background());

    // The bar is filled in the line colour, its right edge left out.
    for (Point p : {Point{98, 101}, Point{99, 125}, Point{101, 130}}) EXPECT_EQ(At(p), kInk) << p.x << "," << p.y;
    EXPECT_EQ(At({102, 105}), Background());

    // Each turn of the coil is the right half of its 12 by 6 box: ink near
    // the box's right side, none at its left side.
    const Rect box = reactor_->GetBoundingRect();
    const int x = (box.left + box.right) / 2;
    int turnsOnTheRight = 0;
    for (int y = box.top; y < box.bottom; ++y) {
        EXPECT_NE(At({x - 6, y}), kInk) << "left of the coil at y " << y;
        turnsOnTheRight += At({x + 4, y}) == kInk;
    }
    EXPECT_GE(turnsOnTheRight, 3);

    // The load's arrow head is filled, not only outlined.
    const auto& head = load_->GetArrowHead();
    const Point inside{(head[0].x + head[1].x + head[2].x) / 3, (head[0].y + head[1].y + head[2].y) / 3};
    EXPECT_EQ(At(inside), kInk) << inside.x << "," << inside.y;

    // The generator's circle is drawn, its inside left in the background.
    const Rect& circle = generator_->GetBoundingRect();
    const int middle = (circle.top + circle.bottom) / 2;
    EXPECT_EQ(At({circle.left, middle}), kInk);
    EXPECT_EQ(At({circle.left + 5, middle}), Background());
}

}  // namespace

