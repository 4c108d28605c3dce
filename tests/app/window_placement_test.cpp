#include <gtest/gtest.h>

#include <climits>

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>

#include "profile.h"
#include "window_placement.h"

namespace {

class WindowPlacementTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    Profile profile{folder.filePath("tavrin.ini")};
    QWidget window;

    void SetUp() override { window.setGeometry(30, 40, 200, 100); }

    void Store(int left, int top, int right, int bottom, int visible) {
        profile.WriteProfileInt("Messages", "Left", left);
        profile.WriteProfileInt("Messages", "Top", top);
        profile.WriteProfileInt("Messages", "Right", right);
        profile.WriteProfileInt("Messages", "Bottom", bottom);
        profile.WriteProfileInt("Messages", "Visible", visible);
    }
};

TEST_F(WindowPlacementTest, SaveWritesTheScreenRectangleAndTheVisibleFlag) {
    WindowPlacement placement(&profile);
    int visible = 0;
    placement.Attach(&window, "Messages", &visible);
    window.show();
    window.setGeometry(50, 60, 300, 200);
    placement.Save();
    // With the window manager's frame (the off-screen platform draws one
    // too), right and bottom exclusive.
    const QRect frame = window.frameGeometry();
    EXPECT_EQ(profile.GetProfileInt("Messages", "Left", -1), frame.left());
    EXPECT_EQ(profile.GetProfileInt("Messages", "Top", -1), frame.top());
    EXPECT_EQ(profile.GetProfileInt("Messages", "Right", -1), frame.left() + frame.width());
    EXPECT_EQ(profile.GetProfileInt("Messages", "Bottom", -1), frame.top() + frame.height());
    EXPECT_LE(frame.left(), 50);
    EXPECT_GE(frame.width(), 300);
    EXPECT_EQ(profile.GetProfileInt("Messages", "Visible", -1), 0);

    WindowPlacement withoutFlag(&profile);
    withoutFlag.Attach(&window);
    withoutFlag.Save();
    EXPECT_EQ(withoutFlag.Section(), "Def Window");
    EXPECT_EQ(profile.GetProfileInt("Def Window", "Visible", -1), 1);
}

TEST_F(WindowPlacementTest, RestoreAppliesOnlyARectangleOnAScreen) {
    struct Case {
        const char* what;
        int left, top, right, bottom, visible;
        bool applied;
        bool shown;
    };
    const Case cases[] = {
        {"nothing stored: shown where it is", -1, -1, -1, -1, 0, false, true},
        {"stored and shown", 10, 20, 310, 220, 1, true, true},
        {"stored hidden", 10, 20, 310, 220, 0, true, false},
        {"off every screen", 20000, 20000, 20300, 20200, 1, false, true},
        {"off every screen, hidden", -5000, 20, -4700, 220, 0, false, false},
        {"empty rectangle", 10, 20, 10, 20, 1, false, true},
    };
    for (const Case& c : cases) {
        window.hide();
        window.setGeometry(30, 40, 200, 100);
        Store(c.left, c.top, c.right, c.bottom, c.visible);
        WindowPlacement placement(&profile);
        placement.Attach(&window, "Messages");
        placement.Restore();
        if (c.applied) {
            EXPECT_EQ(window.frameGeometry(), QRect(c.left, c.top, c.right - c.left, c.bottom - c.top)) << c.what;
        } else {
            EXPECT_EQ(window.geometry(), QRect(30, 40, 200, 100)) << c.what;
        }
        EXPECT_EQ(window.isVisible(), c.shown) << c.what;
    }
}

TEST_F(WindowPlacementTest, CoordinatesAtTheEndsOfTheIntRangeAreHeldOnScreen) {
    const QSize desktop = QGuiApplication::primaryScreen()->virtualGeometry().size();
    struct Case {
        const char* what;
        int left, top, right, bottom;
        bool applied;
    };
    const Case cases[] = {
        {"right at the lowest int", 10, 20, INT_MIN, 220, false},
        {"bottom at the lowest int", 10, 20, 310, INT_MIN, false},
        // Cut to the screens' size from its top left corner, far off them.
        {"every side at its end", INT_MIN, INT_MIN, INT_MAX, INT_MAX, false},
        {"larger than the screens", 0, 0, 30000, 30000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        window.hide();
        window.setGeometry(30, 40, 200, 100);
        Store(c.left, c.top, c.right, c.bottom, 1);
        WindowPlacement placement(&profile);
        placement.Attach(&window, "Messages");
        placement.Restore();
        EXPECT_TRUE(window.isVisible());
        if (c.applied) {
            EXPECT_EQ(window.frameGeometry().size(), desktop);
        } else {
            EXPECT_EQ(window.geometry(), QRect(30, 40, 200, 100));
        }
    }
}

TEST_F(WindowPlacementTest, AWindowShownForTheFirstTimeTakesTheStoredFrameSize) {
    Store(10, 20, 310, 220, 1);
    QWidget fresh;
    WindowPlacement placement(&profile);
    placement.Attach(&fresh, "Messages");
    placement.Restore();
    EXPECT_EQ(fresh.frameGeometry(), QRect(10, 20, 300, 200));
}

TEST_F(WindowPlacementTest, NothingHappensWithoutAProfileOrAWindow) {
    WindowPlacement noProfile;
    noProfile.Attach(&window, "Messages");
    noProfile.Save();
    noProfile.Restore();
    EXPECT_FALSE(window.isVisible());

    WindowPlacement noWindow(&profile);
    noWindow.Save();
    noWindow.Restore();
    EXPECT_EQ(profile.GetProfileInt("Def Window", "Left", -1), -1);
}

}  // namespace
