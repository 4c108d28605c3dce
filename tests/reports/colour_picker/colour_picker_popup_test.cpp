#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QScreen>
#include <QToolTip>

#include "colour_table.h"
#include "picker_dialog.h"
#include "windows_metrics.h"

namespace {

constexpr ColorRef kNotInTable = 0x123456;

class ColourPickerPopupTest : public testing::Test {
protected:
    void SetUp() override {
        QFont font("Liberation Sans");
        font.setPixelSize(12);
        OverrideMessageFont(font);
    }
    void TearDown() override {
        DeleteClosedWindows();
        OverrideMessageFont(std::nullopt);
    }
};

TEST_F(ColourPickerPopupTest, OpensWithTheCellOrBoxOfThePickersColour) {
    struct Case {
        ColorRef colour;
        bool hasDefault, hasCustom;
        int chosen;
    };
    const Case cases[] = {
        {kRed, true, true, 16},
        {0x000000, false, false, 0},
        {kAutomaticColor, true, true, kDefaultBox},
        {kAutomaticColor, false, true, kCustomBox},  // without "Automatic" it is just a colour not in the table
        {kAutomaticColor, false, false, kNoItem},
        {kNotInTable, true, true, kCustomBox},
        {kNotInTable, true, false, kNoItem},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.colour << " default " << c.hasDefault << " custom "
                                        << c.hasCustom);
        PickerDialog window;
        window.picker->setColour(c.colour);
        window.picker->setDefaultText(c.hasDefault ? "Automatic" : "");
        window.picker->setCustomText(c.hasCustom ? "More Colours..." : "");
        CColourPickerPopup* popup = window.Open();
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(popup->chosenItem(), c.chosen);
        EXPECT_EQ(popup->hotItem(), kNoItem);
        EXPECT_EQ(popup->initialColour(), c.colour);
    }
}

TEST_F(ColourPickerPopupTest, SizeFollowsTheMessageFont) {
    {
        PickerDialog window;
        window.picker->setDefaultText("");
        window.picker->setCustomText("");
        CColourPickerPopup* popup = window.Open();
        EXPECT_EQ(popup->size(), QSize(148, 94));
        EXPECT_EQ(popup->itemRect(0), QRect(2, 2, 18, 18));
        EXPECT_EQ(popup->itemRect(39), QRect(128, 74, 18, 18));
        EXPECT_TRUE(popup->itemRect(kDefaultBox).isEmpty());
    }
    PickerDialog window;
    CColourPickerPopup* popup = window.Open();
    const int t = QFontMetrics(MessageFont()).height();
    ASSERT_LT(QFontMetrics(MessageFont()).horizontalAdvance("More Colours..."), 140);
    EXPECT_EQ(popup->size(), QSize(148, 2 * t + 126));
    EXPECT_EQ(popup->itemRect(0).top(), t + 16);
    EXPECT_EQ(popup->itemRect(kDefaultBox), QRect(2, 2, 144, t + 12));
    EXPECT_EQ(popup->itemRect(kCustomBox), QRect(2, t + 110, 144, t + 12));
}

TEST_F(ColourPickerPopupTest, EveryPixelOfACellChoosesIt) {
    PickerDialog window;
    CColourPickerPopup* popup = window.Open();
    for (int cell : {0, 9, 39}) {
        const QRect box = popup->itemRect(cell);
        for (QPoint corner : {box.topLeft(), box.bottomRight(), box.bottomLeft(), box.topRight()}) {
            MoveMouse(popup, popup->itemRect(cell == 0 ? 1 : 0).center());  // elsewhere first
            MoveMouse(popup, corner);
            SCOPED_TRACE(testing::Message() << "cell " << cell << " at " << corner.x() << "," << corner.y());
            EXPECT_EQ(popup->hotItem(), cell);
        }
    }
    MoveMouse(popup, popup->itemRect(kDefaultBox).bottomLeft());
    EXPECT_EQ(popup->hotItem(), kDefaultBox);
    MoveMouse(popup, popup->itemRect(kCustomBox).topRight());
    EXPECT_EQ(popup->hotItem(), kCustomBox);
    MoveMouse(popup, QPoint(0, 0));  // the popup's own edge: no item, nothing changes
    EXPECT_EQ(popup->hotItem(), kCustomBox);
}

TEST_F(ColourPickerPopupTest, StaysOnTheScreenOfItsPicker) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    {
        PickerDialog window(QPoint(screen.left() + 50, screen.bottom() - 40));
        CColourPickerPopup* popup = window.Open();
        const QRect button(window.picker->mapToGlobal(QPoint(0, 0)), window.picker->size());
        EXPECT_EQ(popup->geometry().top() + popup->height(), button.top());
        EXPECT_EQ(popup->x(), button.left());
    }
    PickerDialog window(QPoint(screen.right() - 120, screen.top() + 50));
    CColourPickerPopup* popup = window.Open();
    const QRect button(window.picker->mapToGlobal(QPoint(0, 0)), window.picker->size());
    EXPECT_EQ(popup->geometry().right(), screen.right());
    EXPECT_EQ(popup->y(), button.bottom() + 1);
}

TEST_F(ColourPickerPopupTest, CellsShowTheirColourNamesAsTooltips) {
    PickerDialog window;
    CColourPickerPopup* popup = window.Open();
    for (int cell : {0, 35}) {
        const QPoint spot = popup->itemRect(cell).center();
        QHelpEvent help(QEvent::ToolTip, spot, popup->mapToGlobal(spot));
        QApplication::sendEvent(popup, &help);
        EXPECT_EQ(QToolTip::text().toStdString(), kPickerColours[cell].name);
    }
    QToolTip::hideText();
}

}  // namespace
