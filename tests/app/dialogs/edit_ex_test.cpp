#include <gtest/gtest.h>

#include <QFocusEvent>
#include <QImage>
#include <QTest>

#include "edit_ex.h"
#include "qt_colors.h"
#include "qt_font.h"
#include "recording_desktop_actions.h"

namespace {

// The field's background as it is painted, well inside its frame and right
// of any text.
QColor PaintedBackground(CEditEx& field) {
    QImage image = field.grab().toImage();
    return image.pixelColor(image.width() - 6, image.height() / 2);
}

class EditExTest : public ::testing::Test {
protected:
    RecordingDesktopActions desktop;
    CEditEx field{desktop};

    void SetUp() override {
        field.resize(120, 24);
        field.show();
    }
    void Focus(QEvent::Type type) {
        QFocusEvent event(type, Qt::TabFocusReason);
        QCoreApplication::sendEvent(&field, &event);
    }
};

TEST_F(EditExTest, TheFocusPaintsTheFieldYellowAndLosingItTheNormalColourAtOnce) {
    field.SetBackColor(Rgb(200, 220, 240));
    EXPECT_EQ(PaintedBackground(field), QColor(200, 220, 240));
    Focus(QEvent::FocusIn);
    EXPECT_EQ(PaintedBackground(field), QColor(255, 255, 0));
    Focus(QEvent::FocusOut);
    EXPECT_EQ(PaintedBackground(field), QColor(200, 220, 240));
}

TEST_F(EditExTest, ColourSettersAnswerTheColourTheyReplace) {
    EXPECT_EQ(field.SetBackColor(kWhite), GetSysColor(SystemColor::Window));
    EXPECT_EQ(field.SetBackColor(kRed), kWhite);
    EXPECT_EQ(field.SetTextColor(kBlue), GetSysColor(SystemColor::WindowText));
    EXPECT_EQ(field.SetFocusTextColor(kRed), GetSysColor(SystemColor::WindowText));
    EXPECT_EQ(field.palette().color(QPalette::Text), ToQColor(kBlue));
    Focus(QEvent::FocusIn);
    EXPECT_EQ(field.palette().color(QPalette::Text), ToQColor(kRed));
}

TEST_F(EditExTest, ARefusedCharacterBeepsOnceAndIsNotInserted) {
    field.SetCharacterFilter([](QChar character) { return character.isDigit(); });
    QTest::keyClicks(&field, "1x2");
    EXPECT_EQ(field.text(), "12");
    EXPECT_EQ(desktop.beeps, 1);
    QTest::keyClick(&field, Qt::Key_Backspace);  // control characters pass the filter
    EXPECT_EQ(field.text(), "1");
    EXPECT_EQ(desktop.beeps, 1);
}

TEST_F(EditExTest, TheFontComesFromALogFontAndANullOneIsIgnored) {
    LogFont font;
    font.height = -20;
    font.weight = 700;
    const int pixels = ToQFont(font).pixelSize();
    field.SetFont(&font);
    EXPECT_EQ(field.font().pixelSize(), pixels);
    EXPECT_TRUE(field.font().bold());
    field.SetFont(nullptr);
    EXPECT_EQ(field.font().pixelSize(), pixels);
}

}  // namespace
