#include <gtest/gtest.h>

#include "bus.h"
#include "bus_fixture.h"
#include "connection_node.h"
#include "network_equivalent.h"
#include "recording_drawing_context.h"
#include "test_model.h"

namespace {

constexpr int kEndHandle0 = static_cast<int>(0xFFFF0000u);
constexpr int kEndHandle1 = static_cast<int>(0xFFFF0001u);

// The place a label was made at: its text's top edge lies 10 above it.
Point LabelAt(EEElement& element, int index) {
    const Rect& r = element.GetLabel(index)->GetRect();
    return {r.left, r.top + 10};
}

TEST(BusConstruction, RectanglesAndLabelPlacesOfEachKind) {
    TestModel model;
    Bus& vertical = AddBus<Bus>(*model, Point{100, 100}, true);
    EXPECT_EQ(vertical.GetBoundingRect(), (Rect{98, 100, 102, 140}));
    EXPECT_EQ(LabelAt(vertical, 0), (Point{85, 85}));
    EXPECT_EQ(LabelAt(vertical, 1), (Point{80, 143}));
    EXPECT_EQ(vertical.GetLabel(1)->GetText(), "V=1.0/0.0");
    EXPECT_TRUE(vertical.IsLabelShown(0) && vertical.IsLabelShown(1));
    EXPECT_EQ(vertical.GetLength(), 40);
    EXPECT_EQ(vertical.GetValues()[Bus::kKind], 1.0);

    HorizontalBus& horizontal = AddBus<HorizontalBus>(*model, Point{100, 100});
    EXPECT_EQ(horizontal.GetElementType(), ElementType::HorizontalBus);
    EXPECT_EQ(horizontal.GetBoundingRect(), (Rect{100, 98, 140, 102}));
    EXPECT_EQ(LabelAt(horizontal, 0), (Point{70, 85}));
    EXPECT_EQ(LabelAt(horizontal, 1), (Point{145, 85}));

    ConnectionNode& node = AddBus<ConnectionNode>(*model, Point{100, 100});
    EXPECT_EQ(node.GetBoundingRect(), (Rect{97, 97, 103, 103}));
    EXPECT_EQ(node.GetLength(), 6);
    EXPECT_FALSE(node.IsLabelShown(0) || node.IsLabelShown(1));

    NetworkEquivalent& equivalent = AddBus<NetworkEquivalent>(*model, Point{100, 100});
    EXPECT_EQ(equivalent.GetBoundingRect(), (Rect{98, 100, 138, 140}));
    EXPECT_EQ(LabelAt(equivalent, 2), (Point{80, 155}));
    EXPECT_EQ(equivalent.GetLabel(2)->GetText(), "S=0.0/0.0");
    EXPECT_EQ(equivalent.GetValues()[Bus::kKind], 0.0);
}

TEST(BusLabels, VoltageInKilovoltsWithTheDegreeSignAndTheRemoteForm) {
    TestModel model;
    Bus& bus = AddBus<Bus>(*model, Point{100, 100}, true);
    bus.SetName("North");
    double values[Bus::kValueCount] = {110.0, 0.98, -3.27, 1.0, 1.0, 0.95, 1.1, 0, 0, 0};
    bus.UpdateResultLabel(values);
    EXPECT_EQ(bus.GetLabel(1)->GetText(), "V=107.80/-3.3\xB0");
    EXPECT_EQ(bus.GetLabel(0)->GetText(), "North");
    model->SetRemote(true);
    bus.UpdateResultLabel(nullptr);
    EXPECT_EQ(bus.GetLabel(1)->GetText(), "107.800/-3.27\xB0");
}

TEST(BusLabels, ADeadBusClearsItsAngleAndTheGenerationAndRefreshesLoadLabels) {
    TestModel model;
    Bus& bus = AddBus<Bus>(*model, Point{100, 100}, true);
    AttachedElement& generator = Attach(*model, bus, ElementType::Generator, Category::Generator, {100, 110});
    AttachedElement& load = Attach(*model, bus, ElementType::Load, Category::Load, {100, 120});
    AttachedElement& line = Attach(*model, bus, ElementType::PowerLine, Category::Line, {100, 130});
    generator.values[0] = 50.0;
    generator.values[1] = 10.0;
    double values[Bus::kValueCount] = {110.0, 0.0, 12.0, 1.0, 4.0, 0.95, 1.1, 0, 0, 0};
    bus.UpdateResultLabel(values);
    EXPECT_EQ(bus.GetValues()[Bus::kAngle], 0.0);
    EXPECT_EQ(generator.values[0], 0.0);
    EXPECT_EQ(generator.values[1], 0.0);
    EXPECT_EQ(load.labelUpdates, 1);
    EXPECT_EQ(line.labelUpdates, 0);
}

TEST(BusSwitching, SetOnStoresTheBusFlagAndPassesItOn) {
    TestModel model;
    Bus& bus = AddBus<Bus>(*model, Point{100, 100}, true);
    AttachedElement& load = Attach(*model, bus, ElementType::Load, Category::Load, {100, 110});
    bus.SetOn(false);
    EXPECT_FALSE(bus.IsOn());
    EXPECT_FALSE(load.IsOn());
    bus.SetOn(!bus.IsOn());
    EXPECT_TRUE(bus.IsOn());
    EXPECT_TRUE(load.IsOn());
}

TEST(BusLimits, OverAndUnderVoltageTexts) {
    TestModel model;
    Bus& bus = AddBus<Bus>(*model, Point{100, 100}, true);
    bus.SetName("B7");
    std::string text;
    bus.GetValues()[Bus::kVoltage] = 1.2;
    EXPECT_TRUE(bus.CheckLimits(text));
    EXPECT_EQ(text, "Bus 'B7' over maximum voltage limit!");
    EXPECT_TRUE(bus.IsOverLimit());
    bus.GetValues()[Bus::kVoltage] = 0.9;
    EXPECT_TRUE(bus.CheckLimits(text));
    EXPECT_EQ(text, "Bus 'B7' bellow minimum voltage limit!");
    bus.GetValues()[Bus::kVoltage] = 1.0;
    EXPECT_FALSE(bus.CheckLimits(text));
    EXPECT_FALSE(bus.IsOverLimit());
}

TEST(BusDrag, ABarTooShortForItsAttachmentsIsRefused) {
    TestModel model;
    Bus& bus = AddBus<Bus>(*model, Point{100, 100}, true);
    Attach(*model, bus, ElementType::PowerLine, Category::Line, {100, 130});
    EXPECT_FALSE(bus.DragHandle(4, kEndHandle1, {0, -15}));
    EXPECT_EQ(bus.GetBoundingRect(), (Rect{98, 100, 102, 140}));
    EXPECT_EQ(bus.GetLength(), 40);
    EXPECT_TRUE(bus.DragHandle(4, kEndHandle1, {0, 10}));
    EXPECT_EQ(bus.GetLength(), 50);
    EXPECT_TRUE(bus.DragHandle(4, kEndHandle0, {0, 30}));
    EXPECT_EQ(bus.GetBoundingRect(), (Rect{98, 130, 102, 150}));
    EXPECT_FALSE(bus.DragHandle(4, kEndHandle0, {0, 1}));
    EXPECT_FALSE(bus.DragHandle(3, kEndHandle1, {0, 10}));

    HorizontalBus& free = AddBus<HorizontalBus>(*model, Point{0, 0});
    EXPECT_FALSE(free.DragHandle(4, kEndHandle1, {-31, 0}));
    EXPECT_TRUE(free.DragHandle(4, kEndHandle1, {-30, 0}));
    EXPECT_EQ(free.GetLength(), 10);
    EXPECT_FALSE(AddBus<ConnectionNode>(*model, Point{0, 0}).DragHandle(4, kEndHandle1, {0, 10}));
}

TEST(BusGeometry, SnappingAndHitTestingByKind) {
    TestModel model;
    Bus& bus = AddBus<Bus>(*model, Point{100, 100}, true);
    Point at;
    EXPECT_EQ(bus.SnapToEnd({106, 102}, at), 0);  // 36 + 4 = 40
    EXPECT_EQ(at, (Point{100, 100}));
    EXPECT_EQ(bus.SnapToEnd({106, 144}, at), 1);  // 36 + 16 = 52
    EXPECT_EQ(at, (Point{100, 140}));
    EXPECT_EQ(bus.SnapToEnd({106, 105}, at), -1);  // 36 + 25 = 61
    EXPECT_EQ(bus.HitTestBody({110, 120}, at), 100);
    EXPECT_EQ(at, (Point{100, 120}));

    ConnectionNode& node = AddBus<ConnectionNode>(*model, Point{0, 0});
    EXPECT_EQ(node.HitTestBody({3, 4}, at), 25);
    EXPECT_EQ(at, (Point{0, 0}));
    EXPECT_EQ(node.SnapToEnd({0, 0}, at), -1);

    NetworkEquivalent& equivalent = AddBus<NetworkEquivalent>(*model, Point{100, 100});  // 98..138, 100..140
    EXPECT_EQ(equivalent.HitTestBody({145, 120}, at), 49);
    EXPECT_EQ(at, (Point{138, 120}));
    EXPECT_EQ(equivalent.HitTestBody({120, 95}, at), 25);
    EXPECT_EQ(at, (Point{120, 100}));
    EXPECT_EQ(equivalent.HitTestBody({120, 120}, at), 99999999);
    EXPECT_EQ(equivalent.HitTestBody({150, 120}, at), 99999999);
}

// A bus with two lines whose free ends lie on it, then moved, a line
// deleted and the bus deleted: both sides keep their keys consistent.
TEST(BusConnections, ConnectMoveAndDeleteKeepEveryKeyListConsistent) {
    TestModel model;
    Bus& bus = AddBus<Bus>(*model, Point{100, 100}, true);
    SegmentElement& left = AddSegment(*model, Category::Line, {60, 110}, {101, 110});
    SegmentElement& right = AddSegment(*model, Category::Line, {99, 125}, {150, 125});
    EXPECT_TRUE(bus.AutoConnect());
    ASSERT_EQ(bus.GetKeyList(), (std::vector<int>{left.GetKey(), right.GetKey()}));
    EXPECT_EQ(left.End(1), (Point{100, 110}));
    EXPECT_EQ(left.GetEndKeys()[1], bus.GetKey());
    EXPECT_EQ(right.End(0), (Point{100, 125}));
    EXPECT_EQ(right.GetEndKeys()[0], bus.GetKey());
    EXPECT_FALSE(bus.AutoConnect());

    bus.Move(10, 5, true);
    EXPECT_EQ(bus.GetBoundingRect(), (Rect{108, 105, 112, 145}));
    EXPECT_EQ(left.End(1), (Point{110, 115}));
    EXPECT_EQ(left.End(0), (Point{60, 110}));
    EXPECT_EQ(right.End(0), (Point{110, 130}));

    model->DeleteElement(&left);
    EXPECT_EQ(bus.GetKeyList(), (std::vector<int>{right.GetKey()}));
    model->DeleteElement(&bus);
    EXPECT_EQ(right.GetEndKeys()[0], 0);
}

TEST(BusConnections, AnEmptyBusMadeForReadingLeavesLineEndsAlone) {
    ModelReference reference(CreatePowerSystem());
    auto& model = static_cast<PowerSystem&>(*reference.get());
    SegmentElement& line = AddSegment(model, Category::Line, {1, 1}, {60, 1});
    for (int type : {ElementType::Bus, ElementType::HorizontalBus, ElementType::ConnectionNode,
                     ElementType::NetworkEquivalent}) {
        std::unique_ptr<IElement> bus = model.CreateElement(type);
        ASSERT_NE(bus, nullptr);
        EXPECT_EQ(bus->GetElementType(), type);
    }
    EXPECT_EQ(line.End(0), (Point{1, 1}));
}

TEST(BusConnections, NeighboursAcrossLinesAndKeysOfPastedCopies) {
    TestModel model;
    Bus& a = AddBus<Bus>(*model, Point{100, 100}, true);
    Bus& b = AddBus<Bus>(*model, Point{200, 100}, true);
    AttachedElement& line = Attach(*model, a, ElementType::PowerLine, Category::Line, {100, 120});
    line.SetEndKeys(a.GetKey(), b.GetKey());
    b.ConnectAtPoint(line.GetKey(), nullptr);
    Attach(*model, a, ElementType::Load, Category::Load, {100, 130});
    std::vector<IElement*> neighbours;
    a.GetConnectedElements(neighbours);
    EXPECT_EQ(neighbours, (std::vector<IElement*>{&b}));

    Bus copy(nullptr, 0, {0, 0}, true);
    copy.RemapConnections(a, {{line.GetKey(), 4242}});
    EXPECT_EQ(copy.GetKeyList(), (std::vector<int>{4242}));
}

TEST(BusConnections, ANodeAttachesAtItsCentreAndAnEquivalentAtTheSideFaced) {
    TestModel model;
    ConnectionNode& node = AddBus<ConnectionNode>(*model, Point{100, 100});
    SegmentElement& toNode = AddSegment(*model, Category::Line, {50, 100}, {98, 101});
    EXPECT_TRUE(node.AutoConnect());
    EXPECT_EQ(toNode.End(1), (Point{100, 100}));

    NetworkEquivalent& equivalent = AddBus<NetworkEquivalent>(*model, Point{300, 100});  // 298..338
    SegmentElement& toSquare = AddSegment(*model, Category::Line, {400, 120}, {340, 120});
    EXPECT_TRUE(equivalent.AutoConnect());
    EXPECT_EQ(toSquare.End(1), (Point{338, 120}));
    EXPECT_EQ(equivalent.GetKeyList(), (std::vector<int>{toSquare.GetKey()}));
}

TEST(BusDuplicate, TheCopyKeepsKindValuesLengthAndFlagAndMovesByTheStep) {
    TestModel model;
    model->SetDuplicationSteps(2, 1, 10);
    Bus& bus = AddBus<Bus>(*model, Point{100, 100}, true);
    bus.SetLength(60);
    bus.GetValues()[Bus::kNominalKv] = 220.0;
    bus.SetOn(false);
    auto copy = bus.Duplicate(false);
    EXPECT_EQ(copy->GetElementType(), ElementType::Bus);
    EXPECT_EQ(copy->GetBoundingRect(), (Rect{118, 110, 122, 170}));
    EXPECT_EQ(copy->GetValues()[Bus::kNominalKv], 220.0);
    EXPECT_FALSE(copy->IsOn());
    EXPECT_EQ(KeyCategory(copy->GetKey()), Category::Bus);
    EXPECT_NE(copy->GetKey(), bus.GetKey());

    auto node = AddBus<ConnectionNode>(*model, Point{100, 100}).Duplicate(false);
    EXPECT_EQ(node->GetElementType(), ElementType::ConnectionNode);
    EXPECT_EQ(node->GetBoundingRect(), (Rect{117, 107, 123, 113}));
    auto square = AddBus<NetworkEquivalent>(*model, Point{100, 100}).Duplicate(false);
    EXPECT_EQ(square->GetElementType(), ElementType::NetworkEquivalent);
    EXPECT_EQ(square->GetBoundingRect(), (Rect{118, 110, 158, 150}));
}

TEST(BusDrawing, BarStubsOpenCirclesForElementsOffAndEndMarksWhenSelected) {
    TestModel model;
    model->SetBackgroundColor(0x00EEEEEE);
    Bus& bus = AddBus<Bus>(*model, Point{100, 100}, true);
    AttachedElement& load = Attach(*model, bus, ElementType::Load, Category::Load, {120, 110});
    AttachedElement& breaker = Attach(*model, bus, ElementType::CircuitBreaker, Category::Connector, {80, 130});
    load.SetOn(false);
    breaker.SetOn(false);
    bus.SetSelected(true);
    RecordingDrawingContext dc;
    dc.SelectBrush({BrushStyle::Solid, 0x00123456, 0});
    bus.DrawSymbol(dc);
    auto lines = dc.Of(RecordingDrawingContext::Op::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].points, (std::vector<Point>{{100, 110}, {120, 110}}));
    EXPECT_EQ(lines[1].points, (std::vector<Point>{{100, 130}, {80, 130}}));
    auto circles = dc.Of(RecordingDrawingContext::Op::Ellipse);
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_EQ(circles[0].rect, (Rect{116, 106, 124, 114}));
    EXPECT_EQ(circles[0].state.brush.color, 0x00EEEEEEu);
    EXPECT_EQ(circles[1].state.brush.color, 0x00123456u);
    auto rectangles = dc.Of(RecordingDrawingContext::Op::Rectangle);
    ASSERT_EQ(rectangles.size(), 3u);
    EXPECT_EQ(rectangles[0].rect, (Rect{98, 100, 102, 140}));
    EXPECT_EQ(rectangles[1].rect, (Rect{98, 98, 102, 102}));
    EXPECT_EQ(rectangles[2].rect, (Rect{98, 138, 102, 142}));
    EXPECT_EQ(rectangles[2].state.brush.color, kWhite);
}

TEST(BusDrawing, AnEquivalentDrawsItsSquareStrokesAndSideStubs) {
    TestModel model;
    NetworkEquivalent& equivalent = AddBus<NetworkEquivalent>(*model, Point{100, 100});  // 98..138, 100..140
    Attach(*model, equivalent, ElementType::PowerLine, Category::Line, {120, 160});
    AttachedElement& off = Attach(*model, equivalent, ElementType::PowerLine, Category::Line, {160, 110});
    off.SetOn(false);
    RecordingDrawingContext dc;
    equivalent.DrawSymbol(dc);
    auto outline = dc.Of(RecordingDrawingContext::Op::Polyline);
    ASSERT_EQ(outline.size(), 1u);
    EXPECT_EQ(outline[0].points, (std::vector<Point>{{98, 100}, {138, 100}, {138, 140}, {98, 140}, {98, 100}}));
    auto lines = dc.Of(RecordingDrawingContext::Op::Line);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].points, (std::vector<Point>{{118, 100}, {98, 120}}));
    EXPECT_EQ(lines[1].points, (std::vector<Point>{{138, 100}, {98, 140}}));
    EXPECT_EQ(lines[2].points, (std::vector<Point>{{138, 120}, {118, 140}}));
    EXPECT_EQ(lines[3].points, (std::vector<Point>{{120, 140}, {120, 160}}));
    EXPECT_EQ(lines[4].points, (std::vector<Point>{{138, 110}, {160, 110}}));
    auto marks = dc.Of(RecordingDrawingContext::Op::Rectangle);
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].rect, (Rect{118, 158, 122, 162}));
    EXPECT_EQ(marks[1].rect, (Rect{157, 107, 163, 113}));
    EXPECT_EQ(marks[1].state.brush.color, model->GetBackgroundColor());
}

}  // namespace
