#include <gtest/gtest.h>

#include <vector>

#include "element_key.h"
#include "recording_prompt.h"
#include "segment_element.h"
#include "test_model.h"

namespace {

TEST(SnapPoint, ToTheNearestGridLineWithTruncatingDivision) {
    TestModel model;
    struct Case {
        bool on;
        int step;
        Point in, out;
    };
    const Case cases[] = {
        {true, 10, {14, 15}, {10, 20}},
        {true, 10, {-14, -15}, {0, -10}},  // (-9) / 10 truncates to 0
        {true, 10, {-16, 4}, {-10, 0}},
        {true, 25, {37, 38}, {25, 50}},
        {false, 10, {14, 15}, {14, 15}},
        {true, 0, {14, 15}, {14, 15}},     // a damaged step leaves the point alone
        {true, 10, {2147483647, -2147483647 - 1}, {2147483640, -2147483640}},
    };
    for (const Case& c : cases) {
        model->SetSnapToGrid(c.on, c.step);
        Point p = c.in;
        model->SnapPoint(p);
        EXPECT_EQ(p, c.out) << c.in.x << "," << c.in.y << " step " << c.step;
    }
}

TEST(FindNearestInList, TheNearestBodyWithin50) {
    TestModel model;
    SegmentElement& a = AddSegment(*model, Category::Bus, {0, 0}, {0, 100});
    SegmentElement& b = AddSegment(*model, Category::Bus, {20, 0}, {20, 100});
    struct Case {
        Point p;
        bool found;
        int key;
        Point nearest;
    };
    const Case cases[] = {
        {{7, 50}, true, a.GetKey(), {0, 50}},     // 49
        {{13, 50}, true, b.GetKey(), {20, 50}},   // 49 from b
        {{10, 50}, false, b.GetKey(), {20, 50}},  // 100 from both: the later
        {{-8, 50}, false, a.GetKey(), {0, 50}},   // 64
    };
    for (const Case& c : cases) {
        Point nearest{-1, -1};
        int key = -1;
        EXPECT_EQ(model->FindNearestInList(c.p, Category::Bus, nearest, key), c.found) << c.p.x;
        EXPECT_EQ(key, c.key) << c.p.x;
        EXPECT_EQ(nearest, c.nearest) << c.p.x;
    }

    // Among generators the first within about 15 units ends the search.
    SegmentElement& far = AddSegment(*model, Category::Generator, {0, 0}, {0, 100});
    AddSegment(*model, Category::Generator, {12, 0}, {12, 100});
    Point nearest;
    int key = 0;
    EXPECT_FALSE(model->FindNearestInList({14, 50}, Category::Generator, nearest, key));
    EXPECT_EQ(key, far.GetKey());

    RecordingPrompt prompt;
    model->SetPrompt(&prompt);
    EXPECT_FALSE(model->FindNearestInList({0, 0}, 11, nearest, key));
    ASSERT_EQ(prompt.boxes.size(), 1u);
    EXPECT_EQ(prompt.boxes[0].text, "PowerSystem::GetElementList nije zavrsen");
    EXPECT_FALSE(model->FindNearestInList({0, 0}, Category::Load, nearest, key));
}

TEST(HitTestEnds, WalksTheListForFreeEndsOnTheBox) {
    TestModel model;
    const Rect bar{100, 0, 104, 100};
    SegmentElement& first = AddSegment(*model, Category::Line, {100, 20}, {300, 20});
    AddSegment(*model, Category::Line, {100, 30}, {300, 30}).SetEndKeys(257, 0);  // attached there
    AddSegment(*model, Category::Line, {400, 40}, {500, 40});                     // elsewhere
    SegmentElement& last = AddSegment(*model, Category::Line, {0, 50}, {105, 60});

    std::vector<std::pair<IElement*, int>> found;
    bool more = false;
    do {
        IElement* element = nullptr;
        int end = 9;
        if (!model->HitTestEnds(more, Category::Line, bar, end, element)) break;
        found.emplace_back(element, end);
    } while (more);
    EXPECT_EQ(found, (std::vector<std::pair<IElement*, int>>{{&first, 0}, {&last, -1}}));

    TestModel empty;
    IElement* element = nullptr;
    int end = 0;
    more = false;
    EXPECT_FALSE(empty->HitTestEnds(more, Category::Line, bar, end, element));
    EXPECT_FALSE(more);
}

TEST(ConnectAtPoint, TheElementOfTheKeyTakesTheOtherKeyWhereAnEndLies) {
    TestModel model;
    SegmentElement& line = AddSegment(*model, Category::Line, {0, 0}, {50, 0});
    Point end1{50, 0};
    Point between{25, 0};
    EXPECT_FALSE(model->ConnectAtPoint(line.GetKey(), 257, &between));
    EXPECT_FALSE(model->ConnectAtPoint(MakeKey(9, Category::Line), 257, &end1));
    EXPECT_TRUE(model->ConnectAtPoint(line.GetKey(), 257, &end1));
    EXPECT_EQ(line.GetEndKeys(), (std::array<int, 2>{0, 257}));
}

}  // namespace
