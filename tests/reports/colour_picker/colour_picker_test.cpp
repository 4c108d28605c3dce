#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <QImage>
#include <QKeyEvent>
#include <QPointer>
#include <QTest>

#include "colour_table.h"
#include "picker_dialog.h"
#include "qt_colors.h"

namespace {

constexpr ColorRef kTeal = 0x8E8E38;  // cell 12; red is cell 16
constexpr int kControlId = 1018;

struct Notice {
    int message;
    ColorRef colour;
    bool operator==(const Notice&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Notice& notice) {
    return out << notice.message << "(" << std::hex << notice.colour << std::dec << ")";
}

// What the picker tells its dialog, in order; a drop-down also notes
// whether the popup was there to be seen.
class NoticeRecorder {
public:
    explicit NoticeRecorder(CColourPicker* picker) {
        picker->setControlId(kControlId);
        auto record = [this](int message) {
            return [this, message](ColorRef colour, int id) {
                EXPECT_EQ(id, kControlId);
                notices.push_back({message, colour});
            };
        };
        QObject::connect(picker, &CColourPicker::pickerSelChange, record(CColourPicker::WM_PICKER_SELCHANGE));
        QObject::connect(picker, &CColourPicker::pickerCloseUp, record(CColourPicker::WM_PICKER_CLOSEUP));
        QObject::connect(picker, &CColourPicker::pickerSelEndOk, record(CColourPicker::WM_PICKER_SELENDOK));
        QObject::connect(picker, &CColourPicker::pickerSelEndCancel, record(CColourPicker::WM_PICKER_SELENDCANCEL));
        QObject::connect(picker, &CColourPicker::pickerDropDown, [this, picker](ColorRef colour, int) {
            droppedWithPopup = picker->isDropped() && picker->popup() != nullptr && picker->popup()->isVisible();
            notices.push_back({CColourPicker::WM_PICKER_DROPDOWN, colour});
        });
    }

    std::vector<Notice> notices;
    bool droppedWithPopup = false;
};

void PressKey(QWidget* widget, int key) { QTest::keyClick(widget, static_cast<Qt::Key>(key)); }

QRgb ColourAreaPixel(CColourPicker* picker) { return picker->grab().toImage().pixel(6, picker->height() / 2); }

class ColourPickerTest : public testing::Test {
protected:
    void TearDown() override { DeleteClosedWindows(); }
};

TEST_F(ColourPickerTest, IsTwentyPixelsHighWithASixteenPixelArrow) {
    ScriptedPromptService prompts;
    CColourPicker picker(prompts);
    EXPECT_EQ(picker.height(), 20);
    EXPECT_EQ(picker.minimumWidth(), 36);
    EXPECT_EQ(picker.sizeHint().height(), 20);
}

TEST_F(ColourPickerTest, AChoiceEndsWithCloseUpAndEndOkThenAChange) {
    PickerDialog window;
    window.picker->setColour(kRed);
    NoticeRecorder recorder(window.picker);
    CColourPickerPopup* popup = window.Open();
    EXPECT_TRUE(recorder.droppedWithPopup);
    MoveMouse(popup, popup->itemRect(12).center());
    PressKey(popup, Qt::Key_Return);

    const std::vector<Notice> expected = {
        {CColourPicker::WM_PICKER_DROPDOWN, kRed},    {CColourPicker::WM_PICKER_SELCHANGE, kTeal},
        {CColourPicker::WM_PICKER_CLOSEUP, kTeal},    {CColourPicker::WM_PICKER_SELENDOK, kTeal},
        {CColourPicker::WM_PICKER_SELCHANGE, kTeal},
    };
    EXPECT_EQ(recorder.notices, expected);
    EXPECT_EQ(window.picker->colour(), kTeal);
    EXPECT_FALSE(window.picker->isDropped());
    EXPECT_EQ(window.picker->popup(), nullptr);
}

TEST_F(ColourPickerTest, ChoosingTheSameColourIsNoChange) {
    PickerDialog window;
    window.picker->setColour(kRed);
    window.picker->setTrackSelection(true);
    NoticeRecorder recorder(window.picker);
    CColourPickerPopup* popup = window.Open();
    MoveMouse(popup, popup->itemRect(12).center());
    MoveMouse(popup, popup->itemRect(16).center());
    SendMouse(popup, QEvent::MouseButtonRelease, popup->itemRect(16).center(), Qt::LeftButton);

    const std::vector<Notice> expected = {
        {CColourPicker::WM_PICKER_DROPDOWN, kRed}, {CColourPicker::WM_PICKER_SELCHANGE, kTeal},
        {CColourPicker::WM_PICKER_SELCHANGE, kRed}, {CColourPicker::WM_PICKER_CLOSEUP, kRed},
        {CColourPicker::WM_PICKER_SELENDOK, kRed},
    };
    EXPECT_EQ(recorder.notices, expected);
}

TEST_F(ColourPickerTest, EveryWayOutButAChoiceCancelsWithTheInitialColour) {
    struct Case {
        std::string name;
        std::function<void(CColourPickerPopup*)> leave;
    };
    const Case cases[] = {
        {"Esc", [](CColourPickerPopup* popup) { PressKey(popup, Qt::Key_Escape); }},
        {"press outside",
         [](CColourPickerPopup* popup) {
             SendMouse(popup, QEvent::MouseButtonPress, QPoint(-20, -20), Qt::LeftButton);
         }},
        {"release outside",
         [](CColourPickerPopup* popup) {
             SendMouse(popup, QEvent::MouseButtonRelease, QPoint(popup->width() + 5, 5), Qt::LeftButton);
         }},
        {"another application",
         [](CColourPickerPopup*) {
             QEvent deactivate(QEvent::ApplicationDeactivate);
             QApplication::sendEvent(qApp, &deactivate);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PickerDialog window;
        window.picker->setColour(kRed);
        window.picker->setTrackSelection(true);
        NoticeRecorder recorder(window.picker);
        CColourPickerPopup* popup = window.Open();
        const QPointer<CColourPickerPopup> watch(popup);
        MoveMouse(popup, popup->itemRect(12).center());
        EXPECT_EQ(window.picker->colour(), kTeal);  // tracking the mouse
        EXPECT_EQ(ColourAreaPixel(window.picker), ToQColor(kTeal).rgb());
        c.leave(popup);

        const std::vector<Notice> expected = {
            {CColourPicker::WM_PICKER_DROPDOWN, kRed}, {CColourPicker::WM_PICKER_SELCHANGE, kTeal},
            {CColourPicker::WM_PICKER_CLOSEUP, kRed}, {CColourPicker::WM_PICKER_SELENDCANCEL, kRed},
        };
        EXPECT_EQ(recorder.notices, expected);
        EXPECT_EQ(window.picker->colour(), kRed);
        EXPECT_FALSE(window.picker->isDropped());
        EXPECT_EQ(window.picker->popup(), nullptr);
        DeleteClosedWindows();
        EXPECT_TRUE(watch.isNull()) << "the popup deletes itself";
    }
}

TEST_F(ColourPickerTest, AClickOnThePickerWhileDroppedOnlyClosesThePalette) {
    PickerDialog window;
    window.picker->setColour(kRed);
    NoticeRecorder recorder(window.picker);
    window.Open();
    // Through the window system, as Qt routes a real press while a popup is
    // open; a replayed press would be posted before the release comes.
    const QPoint onPicker = window.picker->geometry().center();
    QTest::mousePress(window.dialog.windowHandle(), Qt::LeftButton, {}, onPicker);
    QCoreApplication::processEvents();
    QTest::mouseRelease(window.dialog.windowHandle(), Qt::LeftButton, {}, onPicker);

    const std::vector<Notice> expected = {
        {CColourPicker::WM_PICKER_DROPDOWN, kRed},
        {CColourPicker::WM_PICKER_CLOSEUP, kRed},
        {CColourPicker::WM_PICKER_SELENDCANCEL, kRed},
    };
    EXPECT_EQ(recorder.notices, expected);
    EXPECT_FALSE(window.picker->isDropped());
}

TEST_F(ColourPickerTest, MoreColoursTakesTheColourDialogsAnswer) {
    struct Case {
        std::optional<ColorRef> answer;
        std::vector<Notice> expected;
    };
    const Case cases[] = {
        {0x123456,
         {{CColourPicker::WM_PICKER_SELCHANGE, kRed}, {CColourPicker::WM_PICKER_CLOSEUP, 0x123456},
          {CColourPicker::WM_PICKER_SELENDOK, 0x123456}, {CColourPicker::WM_PICKER_SELCHANGE, 0x123456}}},
        {std::nullopt,
         {{CColourPicker::WM_PICKER_SELCHANGE, kRed}, {CColourPicker::WM_PICKER_CLOSEUP, kRed},
          {CColourPicker::WM_PICKER_SELENDCANCEL, kRed}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer.has_value());
        PickerDialog window;
        window.picker->setColour(kRed);
        window.prompts.colors.push_back(c.answer);
        CColourPickerPopup* popup = window.Open();
        const QPointer<CColourPickerPopup> watch(popup);
        NoticeRecorder recorder(window.picker);
        MoveMouse(popup, popup->itemRect(35).center());  // a hot cell first: the dialog still starts from red
        recorder.notices.clear();
        PressKey(popup, Qt::Key_Down);  // from the last row's cell to "More Colours..."
        ASSERT_EQ(popup->hotItem(), kCustomBox);
        PressKey(popup, Qt::Key_Return);

        ASSERT_EQ(window.prompts.prompts.size(), 1u);
        EXPECT_EQ(window.prompts.prompts[0].kind, ScriptedPromptService::Kind::Color);
        EXPECT_EQ(window.prompts.prompts[0].initialColor, kRed);
        EXPECT_EQ(recorder.notices, c.expected);
        EXPECT_EQ(window.picker->colour(), c.answer.value_or(kRed));
        DeleteClosedWindows();
        EXPECT_TRUE(watch.isNull());
    }
}

TEST_F(ColourPickerTest, APickerDestroyedWhileDroppedTakesItsPopupAlong) {
    PickerDialog window;
    NoticeRecorder recorder(window.picker);
    const QPointer<CColourPickerPopup> popup(window.Open());
    recorder.notices.clear();
    delete window.picker;
    EXPECT_TRUE(popup.isNull());
    EXPECT_TRUE(recorder.notices.empty());
}

TEST_F(ColourPickerTest, AutomaticShowsTheButtonFace) {
    PickerDialog window;
    QPalette palette = window.dialog.palette();
    palette.setColor(QPalette::Button, QColor(200, 180, 60));
    window.dialog.setPalette(palette);
    window.picker->setColour(kRed);
    EXPECT_EQ(ColourAreaPixel(window.picker), ToQColor(kRed).rgb());

    CColourPickerPopup* popup = window.Open();
    MoveMouse(popup, popup->itemRect(kDefaultBox).center());
    PressKey(popup, Qt::Key_Space);
    EXPECT_EQ(window.picker->colour(), kAutomaticColor);
    EXPECT_EQ(ColourAreaPixel(window.picker), QColor(200, 180, 60).rgb());

    window.picker->setColour(kTeal);
    window.picker->setEnabled(false);  // a disabled picker shows no colour of its own
    EXPECT_EQ(ColourAreaPixel(window.picker), QColor(200, 180, 60).rgb());
}

TEST_F(ColourPickerTest, TextColourModeChangesTheTextAndKeepsTheBackground) {
    PickerDialog window;
    window.picker->setSelectionMode(1);
    window.picker->setText("Color");
    const ColorRef background = window.picker->backgroundColour();
    EXPECT_EQ(window.picker->colour(), GetSysColor(SystemColor::ButtonText));

    CColourPickerPopup* popup = window.Open();
    MoveMouse(popup, popup->itemRect(13).center());  // blue
    PressKey(popup, Qt::Key_Return);
    EXPECT_EQ(window.picker->textColour(), ColorRef{0xFF0000});
    EXPECT_EQ(window.picker->colour(), ColorRef{0xFF0000});
    EXPECT_EQ(window.picker->backgroundColour(), background);
    EXPECT_EQ(ColourAreaPixel(window.picker), ToQColor(background).rgb());

    const QImage image = window.picker->grab().toImage();
    int blue = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) blue += image.pixel(x, y) == qRgb(0, 0, 255);
    }
    EXPECT_GT(blue, 0) << "the text is drawn in the chosen colour";
}

}  // namespace
