// The print preview's rules without a window.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "preview_state.h"

namespace {

using Z = PreviewZoom;

TEST(PreviewState, TheOneTwoPageToggleByReportLengthAndTheApplicationsDefault) {
    struct Case {
        int lastPage;
        int defaultPages;
        int mostPages;
        int pagesShown;
        bool toggle;
    };
    const Case cases[] = {
        {1, 1, 2, 1, false},  // one page, shown alone: nothing to toggle
        {1, 2, 2, 2, true},   // left at two by an earlier toggle: two places
        {2, 1, 2, 1, true},
        {5, 2, 1, 1, false},  // a window that can show one page only
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lastPage << " pages, default " << c.defaultPages);
        int defaultPages = c.defaultPages;
        PreviewState state(1, c.lastPage, 1, defaultPages, c.mostPages);
        EXPECT_EQ(state.PagesShown(), c.pagesShown);
        EXPECT_EQ(state.CanTogglePages(), c.toggle);
    }
}

TEST(PreviewState, ToggleStepsBackAPageAndLeavesItsChoiceAsTheDefault) {
    struct Case {
        int page;
        int pagesAfterToTwo;
        int pagesAfterBackToOne;
    };
    // To two pages: back one from page 2 on. Back to one page: back one
    // more from page 3 on.
    const Case cases[] = {{1, 1, 1}, {2, 1, 1}, {3, 2, 2}, {4, 3, 2}, {7, 6, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        int defaultPages = 1;
        PreviewState state(1, 10, c.page, defaultPages);
        state.TogglePages();
        EXPECT_EQ(state.PagesShown(), 2);
        EXPECT_EQ(defaultPages, 2);
        EXPECT_EQ(state.CurrentPage(), c.pagesAfterToTwo);
        state.TogglePages();
        EXPECT_EQ(state.PagesShown(), 1);
        EXPECT_EQ(defaultPages, 1);
        EXPECT_EQ(state.CurrentPage(), c.pagesAfterBackToOne);
    }
}

TEST(PreviewState, ZoomInAndOutStepOneStateFromWhereverTheyAre) {
    int defaultPages = 2;
    PreviewState state(1, 10, 1, defaultPages);
    using Step = void (PreviewState::*)();
    struct Case {
        Step step;
        Z zoom;
        int pagesShown;
    };
    const Case cases[] = {
        {&PreviewState::ZoomIn, Z::Middle, 1},  // a fresh preview: middle, then full
        {&PreviewState::ZoomIn, Z::In, 1},
        {&PreviewState::ZoomIn, Z::In, 1},  // fully in stays
        {&PreviewState::ZoomOut, Z::Middle, 1},
        {&PreviewState::ZoomIn, Z::In, 1},  // after a zoom out it zooms in again
        {&PreviewState::ZoomOut, Z::Middle, 1},
        {&PreviewState::ZoomOut, Z::Out, 2},  // the spread comes back
        {&PreviewState::ZoomOut, Z::Out, 2},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        (state.*cases[i].step)();
        EXPECT_EQ(state.Zoom(), cases[i].zoom);
        EXPECT_EQ(state.PagesShown(), cases[i].pagesShown);
        EXPECT_EQ(state.CanTogglePages(), !state.Zoomed());
    }
    // Ten presses and more: the button still works.
    for (int press = 0; press < 10; ++press) {
        state.ZoomOut();
        state.ZoomOut();
        state.ZoomIn();
        EXPECT_EQ(state.Zoom(), Z::Middle) << press;
    }
}

TEST(PreviewState, ZoomingOutOfTheMiddleStepsBackAPageBeyondTheSpreadLimit) {
    int defaultPages = 1;
    PreviewState state(1, 10, 5, defaultPages);
    state.ZoomIn();
    state.ZoomIn();
    state.ZoomOut();  // from full zoom: the page stays
    EXPECT_EQ(state.CurrentPage(), 5);
    state.ZoomOut();
    EXPECT_EQ(state.CurrentPage(), 4);
    EXPECT_EQ(state.Zoom(), Z::Out);
}

TEST(PreviewState, AClickZoomsInOnThePageClickedAndFromFullZoomBackOut) {
    int defaultPages = 2;
    PreviewState state(1, 10, 4, defaultPages);
    state.ClickPage(1);  // the right-hand page of 4-5
    EXPECT_EQ(state.Zoom(), Z::Middle);
    EXPECT_EQ(state.CurrentPage(), 5);
    EXPECT_EQ(state.PagesShown(), 1);
    state.ClickPage(0);
    EXPECT_EQ(state.Zoom(), Z::In);
    state.ClickPage(0);
    EXPECT_EQ(state.Zoom(), Z::Out);
    EXPECT_EQ(state.PagesShown(), 2);
    EXPECT_EQ(state.CurrentPage(), 4);  // back one beyond the spread limit
    state.GoToPage(10);
    state.ClickPage(1);  // an empty place: no page there
    EXPECT_EQ(state.Zoom(), Z::Out);
}

TEST(PreviewState, TheWheelTurnsAPageEverySecondStepAndScrollsWhileZoomed) {
    int defaultPages = 1;
    PreviewState state(1, 10, 1, defaultPages);
    for (int step = 0; step < 4; ++step) EXPECT_EQ(state.Wheel(-120), 0);
    EXPECT_EQ(state.CurrentPage(), 3);
    for (int step = 0; step < 4; ++step) state.Wheel(120);
    EXPECT_EQ(state.CurrentPage(), 1);
    for (int step = 0; step < 4; ++step) state.Wheel(120);  // nothing before page 1
    EXPECT_EQ(state.CurrentPage(), 1);

    state.ZoomIn();
    EXPECT_EQ(state.Wheel(-120), -120);
    EXPECT_EQ(state.Wheel(-120), -120);
    EXPECT_EQ(state.CurrentPage(), 1);

    // Two pages: the wheel stops where the last page is on the right.
    PreviewState two(1, 4, 1, defaultPages);
    two.TogglePages();
    for (int step = 0; step < 12; ++step) two.Wheel(-120);
    EXPECT_EQ(two.CurrentPage(), 3);
}

TEST(PreviewState, PagingStopsAtTheEndsOfTheDocument) {
    int defaultPages = 2;
    PreviewState state(1, 3, 1, defaultPages);
    EXPECT_FALSE(state.CanGoPrevious());
    state.NextPage();
    EXPECT_EQ(state.CurrentPage(), 2);
    EXPECT_FALSE(state.CanGoNext());  // pages 2-3 shown
    state.NextPage();
    EXPECT_EQ(state.CurrentPage(), 2);
    EXPECT_EQ(state.PagesOnShow(), 2);
    state.GoToPage(3);
    EXPECT_EQ(state.PagesOnShow(), 1);
    state.PreviousPage();
    EXPECT_EQ(state.CurrentPage(), 2);
}

TEST(PreviewState, TheScrollBarRunsFromTheFirstPageToTheLastStartPage) {
    struct Case {
        int firstPage;
        int lastPage;
        int pages;
        bool shown;
        int maximum;
    };
    const Case cases[] = {
        {1, 10, 1, true, 10},
        {1, 10, 2, true, 9},
        {1, 0x7FFF, 1, true, 0x7FFF},
        {1, 0x8000, 1, false, 0},  // beyond the bar's range
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lastPage);
        int defaultPages = c.pages;
        PreviewState state(c.firstPage, c.lastPage, 3, defaultPages);
        PageScrollBar bar = state.ScrollBar();
        EXPECT_EQ(bar.shown, c.shown);
        if (!c.shown) continue;
        EXPECT_EQ(bar.minimum, c.firstPage);
        EXPECT_EQ(bar.maximum, c.maximum);
        EXPECT_EQ(bar.pageStep, 1);
        EXPECT_EQ(bar.value, 3);
    }
}

}  // namespace
