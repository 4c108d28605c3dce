#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "element_key.h"
#include "fixed_metric_measurer.h"
#include "recording_prompt.h"
#include "recording_view.h"
#include "segment_element.h"
#include "test_model.h"

namespace {

TEST(ElementEnds, SnapAndEndOnABoxThresholds) {
    SegmentElement element(nullptr, 257, {0, 0}, {100, 0}, Category::Line);
    struct SnapCase {
        std::array<int, 2> keys;
        Point p;
        int end;
    };
    const SnapCase snaps[] = {
        {{0, -1}, {7, 3}, 0},     // squared distance 58
        {{0, -1}, {6, 5}, -1},    // 61
        {{0, -1}, {93, 3}, 1},    // 58 from end 1, whose key -1 leaves it open
        {{0, -1}, {94, 5}, -1},   // 61
        {{0, 0}, {93, 3}, -1},    // end 1 snaps only while open (-1)
        {{9, -1}, {7, 3}, -1},    // end 0 attached
        {{9, 7}, {93, 3}, -1},    // no free end
    };
    for (const SnapCase& c : snaps) {
        element.SetEndKeys(c.keys[0], c.keys[1]);
        Point snapped{-1, -1};
        EXPECT_EQ(element.SnapToEnd(c.p, snapped), c.end) << c.p.x << "," << c.p.y;
        if (c.end >= 0) {
            EXPECT_EQ(snapped, element.End(c.end));
        }
    }

    // The box's left and right sides; free ends only.
    const Rect box{100, 0, 200, 50};
    struct BoxCase {
        Point end0, end1;
        std::array<int, 2> keys;
        bool hit;
        int end;
    };
    const BoxCase boxes[] = {
        {{93, 20}, {500, 500}, {0, 0}, true, 0},    // 49 from the left side
        {{95, 55}, {500, 500}, {0, 0}, false, 9},   // 50 from its bottom end
        {{207, 10}, {500, 500}, {0, 0}, true, 0},   // 49 from the right side
        {{93, 20}, {203, 10}, {0, 0}, true, -1},    // end 1 nearer
        {{100, 20}, {500, 500}, {5, 0}, false, 9},  // end 0 attached
        {{100, 20}, {500, 500}, {0, -1}, true, 0},
    };
    for (const BoxCase& c : boxes) {
        SegmentElement candidate(nullptr, 257, c.end0, c.end1, Category::Line);
        candidate.SetEndKeys(c.keys[0], c.keys[1]);
        int end = 9;
        EXPECT_EQ(candidate.HitTestEnd(box, end), c.hit) << c.end0.x << "," << c.end0.y;
        if (c.hit) {
            EXPECT_EQ(end, c.end);
        }
    }
}

TEST(ElementEnds, FreeEndsAndConnectingAtAPoint) {
    struct Case {
        std::array<int, 2> keys;
        bool hasFreeEnd, end0Free, end1Free;
    };
    for (const Case& c : {Case{{0, 0}, true, true, true}, Case{{5, 0}, true, false, true},
                          Case{{5, -1}, true, false, false}, Case{{5, 7}, false, false, false},
                          Case{{0, 7}, true, true, false}}) {
        SegmentElement element(nullptr, 257, {0, 0}, {1, 1}, Category::Line);
        element.SetEndKeys(c.keys[0], c.keys[1]);
        EXPECT_EQ(element.HasFreeEnd(), c.hasFreeEnd) << c.keys[0] << " " << c.keys[1];
        EXPECT_EQ(element.IsEndFree(0), c.end0Free);
        EXPECT_EQ(element.IsEndFree(-1), c.end1Free);
    }

    SegmentElement dot(nullptr, 257, {5, 5}, {5, 5}, Category::Line);
    Point at{5, 5};
    EXPECT_FALSE(dot.ConnectAtPoint(513, nullptr));
    EXPECT_TRUE(dot.ConnectAtPoint(513, &at));
    EXPECT_EQ(dot.GetEndKeys(), (std::array<int, 2>{513, 0}));
    Point elsewhere{5, 6};
    EXPECT_FALSE(dot.ConnectAtPoint(769, &elsewhere));

    SegmentElement line(nullptr, 257, {0, 0}, {50, 0}, Category::Line);
    Point end1{50, 0};
    EXPECT_TRUE(line.ConnectAtPoint(513, &end1));
    EXPECT_EQ(line.GetEndKeys(), (std::array<int, 2>{0, 513}));
    line.SetEndKeys(513, 513);
    line.MoveEndAttachedTo(513, {3, 4});
    EXPECT_EQ(line.End(0), (Point{3, 4}));
    EXPECT_EQ(line.End(1), (Point{53, 4}));
    line.RemoveConnection(513);
    EXPECT_EQ(line.GetEndKeys(), (std::array<int, 2>{0, 0}));
}

TEST(ElementEnds, ConnectionPointsByEndOrKey) {
    TestModel model;
    RecordingPrompt prompt;
    model->SetPrompt(&prompt);
    SegmentElement& line = AddSegment(*model, Category::Line, {1, 2}, {3, 4});
    line.SetEndKeys(513, 769);
    EXPECT_EQ(line.GetConnectionPoint(0), (Point{1, 2}));
    EXPECT_EQ(line.GetConnectionPoint(1), (Point{3, 4}));
    EXPECT_EQ(line.GetConnectionPoint(-1), (Point{3, 4}));
    EXPECT_EQ(line.GetConnectionPoint(513), (Point{1, 2}));
    EXPECT_EQ(line.GetConnectionPoint(769), (Point{3, 4}));
    EXPECT_TRUE(prompt.boxes.empty());
    EXPECT_EQ(line.GetConnectionPoint(1025), (Point{1, 2}));
    ASSERT_EQ(prompt.boxes.size(), 1u);
    EXPECT_EQ(prompt.boxes[0].text, "EEElement::GetConnectionPoint, .. nesto ne valja!");

    line.SetConnectionPoint({7, 8}, true);
    EXPECT_EQ(line.End(1), (Point{7, 8}));
    line.SetConnectionPoint({9, 9}, false);
    EXPECT_EQ(line.End(0), (Point{9, 9}));
    EXPECT_EQ(line.recalculations, 2);
}

TEST(ElementNeighbours, DisconnectRemapAndRekey) {
    TestModel model;
    SegmentElement& bus = AddSegment(*model, Category::Bus, {0, 0}, {0, 100});
    SegmentElement& other = AddSegment(*model, Category::Bus, {300, 0}, {300, 100});
    SegmentElement& line = AddSegment(*model, Category::Line, {0, 50}, {300, 50});
    bus.SetEndKeys(line.GetKey(), 0);
    other.SetEndKeys(0, line.GetKey());
    line.SetEndKeys(bus.GetKey(), other.GetKey());

    std::vector<IElement*> connected;
    line.GetConnectedElements(connected);
    EXPECT_EQ(connected, (std::vector<IElement*>{&bus, &other}));

    line.DisconnectAll();
    EXPECT_EQ(line.GetEndKeys(), (std::array<int, 2>{0, 0}));
    EXPECT_EQ(bus.GetEndKeys(), (std::array<int, 2>{0, 0}));
    EXPECT_EQ(other.GetEndKeys(), (std::array<int, 2>{0, 0}));

    line.SetEndKeys(other.GetKey(), -1);
    other.SetEndKeys(line.GetKey(), 0);
    line.DisconnectAll();
    EXPECT_EQ(line.GetEndKeys(), (std::array<int, 2>{0, -1}));
    line.DetachFromNeighbours();
    EXPECT_EQ(line.GetEndKeys(), (std::array<int, 2>{0, 0}));

    // A new key is announced to the element at end 0, which attaches it at
    // the point where the two meet.
    line.SetEndKeys(bus.GetKey(), 0);
    bus.SetConnectionPoint({0, 50}, false);
    line.SetKey(MakeKey(40, Category::Line));
    EXPECT_EQ(bus.GetEndKeys()[0], MakeKey(40, Category::Line));

    // Copies connect to copies; what the map lacks, and the keys 30 and -1,
    // are left alone.
    SegmentElement source(nullptr, 257, {0, 0}, {1, 1}, Category::Line);
    SegmentElement copy(nullptr, 258, {0, 0}, {1, 1}, Category::Line);
    const std::map<int, int> newKeys{{513, 1025}, {30, 99}, {-1, 98}, {0, 97}};
    struct Case {
        std::array<int, 2> source, before, after;
    };
    for (const Case& c : {Case{{513, 769}, {5, 6}, {1025, 6}}, Case{{30, -1}, {5, 6}, {5, 6}},
                          Case{{0, 513}, {5, 6}, {97, 1025}}}) {
        source.SetEndKeys(c.source[0], c.source[1]);
        copy.SetEndKeys(c.before[0], c.before[1]);
        copy.RemapConnections(source, newKeys);
        EXPECT_EQ(copy.GetEndKeys(), c.after);
    }
}

TEST(ElementSelection, HitTestTheBodyThenTheLabels) {
    FixedMetricMeasurer measurer;
    SegmentElement element(nullptr, 257, {0, 0}, {10, 0}, Category::Load);
    element.SetRect({10, 10, 20, 20});
    PrimitiveText& label = element.AddLabel({100, 110}, true);
    label.SetMeasurer(&measurer);
    label.SetText("ab");  // (100, 100) to (112, 111)

    struct Case {
        Point p;
        bool hit, selected;
        int label;
    };
    const Case cases[] = {
        {{9, 9}, true, true, -1},       // the body grown by 1: left and top edges inside
        {{20, 20}, true, true, -1},
        {{21, 15}, false, false, -1},   // its right edge is outside
        {{100, 100}, true, false, 0},   // a label of a selected element: the label instead
        {{112, 105}, false, false, -1},
        {{15, 15}, true, true, -1},     // back to the body: the label loses its highlight
    };
    for (const Case& c : cases) {
        EXPECT_EQ(element.HitTest(c.p), c.hit) << c.p.x << "," << c.p.y;
        EXPECT_EQ(element.IsSelected(), c.selected);
        EXPECT_EQ(element.GetSelectedLabel(), c.label);
        EXPECT_EQ(label.IsHighlighted(), c.label == 0);
        EXPECT_EQ(element.IsAnySelected(), c.hit);
    }

    ASSERT_TRUE(element.HitTest({105, 105}));
    EXPECT_FALSE(element.ClearLabelSelection());
    EXPECT_FALSE(element.IsLabelShown(0));
    EXPECT_FALSE(label.IsHighlighted());
    EXPECT_FALSE(element.ClearLabelSelection());
    EXPECT_EQ(element.GetSelectedLabel(), 0);
    // The label is hidden now and can no longer be picked.
    EXPECT_FALSE(element.HitTest({105, 105}));
    EXPECT_EQ(element.GetSelectedLabel(), -1);

    EXPECT_FALSE(element.SetSelected(true));
    EXPECT_EQ(element.GetSelectedLabel(), -1);
    EXPECT_TRUE(element.ClearLabelSelection());
    EXPECT_TRUE(element.SetSelected(false));
}

TEST(ElementSelection, RectanglesAreasAndBounds) {
    FixedMetricMeasurer measurer;
    SegmentElement element(nullptr, 257, {0, 0}, {10, 0}, Category::Load);
    element.SetRect({20, 20, 10, 10});  // not normalised
    element.AddLabel({100, 110}, true).SetMeasurer(&measurer);
    element.GetLabel(0)->SetText("ab");  // (100, 100) to (112, 111)
    element.AddLabel({300, 310}, false).SetMeasurer(&measurer);
    element.GetLabel(1)->SetText("ab");

    EXPECT_TRUE(element.SelectInRect({10, 10, 20, 20}));  // edges inside
    EXPECT_TRUE(element.IsSelected());
    element.SetSelected(false);
    EXPECT_FALSE(element.SelectInRect({11, 10, 20, 20}));
    EXPECT_FALSE(element.IsSelected());

    struct Case {
        Rect area;
        bool labels, meets;
    };
    const Case cases[] = {
        {{20, 20, 30, 30}, false, true},     // a corner on the area's edge
        {{12, 0, 18, 40}, false, true},      // across, no corner inside
        {{21, 21, 30, 30}, false, false},
        {{105, 105, 106, 106}, false, false},
        {{105, 105, 106, 106}, true, true},  // a shown label
        {{305, 305, 306, 306}, true, false}, // a hidden one
    };
    for (const Case& c : cases) {
        Rect common;
        EXPECT_EQ(element.IntersectsRect(common, c.area, c.labels), c.meets)
            << c.area.left << "," << c.area.top << " " << c.labels;
    }
    EXPECT_EQ(element.CalcBoundingRect(), (Rect{10, 10, 112, 111}));
}

TEST(ElementMoving, TheBodyWithItsLabelsAndNeighboursOrOnlyTheSelectedLabel) {
    TestModel model;
    RecordingPrompt prompt;
    model->SetPrompt(&prompt);
    SegmentElement& load = AddSegment(*model, Category::Load, {0, 0}, {0, 10}, {0, 0, 10, 10});
    SegmentElement& bus = AddSegment(*model, Category::Bus, {0, 10}, {0, 20}, {0, 10, 40, 14});
    load.AddLabel({0, 30}, true);
    // Attached to each other both ways: the marked elements end the chain.
    load.SetEndKeys(bus.GetKey(), 0);
    bus.SetEndKeys(load.GetKey(), 0);

    // The element that starts a move is marked by whoever moves it.
    model->AddToMarked(&load);
    load.Move(5, 7, true);
    EXPECT_EQ(load.GetBoundingRect(), (Rect{5, 7, 15, 17}));
    EXPECT_EQ(bus.GetBoundingRect(), (Rect{5, 17, 45, 21}));
    EXPECT_EQ(load.GetLabel(0)->GetRect(), (Rect{5, 27, 5, 27}));
    EXPECT_TRUE(model->IsMarked(bus.GetKey()));
    // Old and new places of both, grown by 10.
    EXPECT_EQ(model->GetPendingArea(), (Rect{-10, -10, 55, 31}));
    EXPECT_TRUE(prompt.boxes.empty());

    load.SetSelectedLabelIndex(0);
    load.Move(100, 0, true);
    EXPECT_EQ(load.GetBoundingRect(), (Rect{5, 7, 15, 17}));
    EXPECT_EQ(load.GetLabel(0)->GetRect(), (Rect{105, 27, 105, 27}));

    // A neighbour that has gone: said, and skipped.
    load.SetEndKeys(bus.GetKey(), MakeKey(99, Category::Bus));
    model->GetMarked().DeleteAll();
    load.MoveConnectedElements(1, 1);
    ASSERT_EQ(prompt.boxes.size(), 1u);
    EXPECT_EQ(prompt.boxes[0].text, "NEsto ne stima u EEElement::MoveConnectedElements 1");
    EXPECT_EQ(bus.GetBoundingRect(), (Rect{6, 18, 46, 22}));
}

TEST(ElementMoving, DraggingAnEndHandle) {
    TestModel model;
    RecordingView view;
    model->SetView(&view);
    SegmentElement& line = AddSegment(*model, Category::Line, {0, 0}, {50, 0}, {0, 0, 50, 10});
    struct Case {
        int kind;
        unsigned handle;
        bool taken;
    };
    for (const Case& c : {Case{3, 0xFFFF0001u, false}, Case{4, 0x00000001u, false}, Case{4, 0xFFFF0002u, false},
                          Case{4, 0xFFFE0001u, false}}) {
        EXPECT_EQ(line.DragHandle(c.kind, static_cast<int>(c.handle), {1, 1}), c.taken);
    }
    EXPECT_TRUE(view.calls.empty());
    EXPECT_TRUE(line.DragHandle(4, static_cast<int>(0xFFFF0001u), {5, -3}));
    EXPECT_EQ(line.End(1), (Point{55, -3}));
    EXPECT_EQ(line.End(0), (Point{0, 0}));
    ASSERT_EQ(view.calls.size(), 2u);
    EXPECT_EQ(view.calls[0].rect, (Rect{-20, -20, 70, 30}));
    EXPECT_TRUE(line.DragHandle(4, static_cast<int>(0xFFFF0000u), {2, 2}));
    EXPECT_EQ(line.End(0), (Point{2, 2}));
}

}  // namespace
