#include <string>

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

#include "colour_combo.h"
#include "control_id.h"
#include "dlg_graph_properties.h"
#include "graph_wnd.h"
#include "pen_prop_combo.h"
#include "scripted_prompt_service.h"
#include "up_down.h"

namespace {

constexpr ColorRef kLime = 0x00FF00;
constexpr ColorRef kNavy = 0x800000;
constexpr ColorRef kRed = 0x0000FF;
const QString kWidthMessage = "Please enter an integer between 1 and 5.";

// Counts the paint events of the object it watches.
class PaintCounter final : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

class DlgGraphPropertiesTest : public ::testing::Test {
protected:
    ScriptedPromptService prompts;
    CGraphWnd plot{prompts};

    // Three curves, the first dotted, two pixels wide and with circles, on
    // a lime background.
    void SetUp() override {
        const char* names[] = {"V_LAKE", "V_NORTH", "V_SOUTH"};
        const ColorRef colours[] = {kRed, 0xFF0000, 0x00FFFF};
        for (int i = 0; i < 3; ++i) {
            GraphCurve curve;
            curve.xName = "PLoad_Total";
            curve.yName = names[i];
            curve.color = colours[i];
            plot.AddCurve(curve);
        }
        GraphCurve& first = plot.GetCurves()[0];
        first.penStyle = 2;
        first.penWidth = 1;
        first.showCircles = true;
        plot.SetBackgroundColor(kLime);
    }

    template <typename Control>
    static Control& At(const QWidget& dialog, int id) {
        Control* control = FindControl<Control>(dialog, id);
        EXPECT_NE(control, nullptr) << id;
        return *control;
    }
    static CColourCombo& ColourCombo(const QWidget& dialog, int id) { return At<CColourCombo>(dialog, id); }
    static QLineEdit& Width(const QWidget& dialog) { return At<QLineEdit>(dialog, 1013); }
    static QPushButton& Button(const QWidget& dialog, int id) { return At<QPushButton>(dialog, id); }
};

TEST_F(DlgGraphPropertiesTest, ShowsTheCurvesTheBackgroundAndTheFirstCurve) {
    CDlgGraphProperties dialog(plot, prompts);
    QComboBox& curves = At<QComboBox>(dialog, 1008);
    ASSERT_EQ(curves.count(), 3);
    EXPECT_EQ(curves.itemText(0), "V_LAKE");
    EXPECT_EQ(curves.itemText(2), "V_SOUTH");
    EXPECT_EQ(curves.currentIndex(), 0);
    EXPECT_EQ(ColourCombo(dialog, 1011).currentText(), "Lime");
    EXPECT_EQ(ColourCombo(dialog, 1009).currentText(), "Red");
    EXPECT_EQ(At<CPenPropCombo>(dialog, 1010).GetSelectedStyle(), 2);
    EXPECT_EQ(Width(dialog).text(), "2");
    EXPECT_TRUE(At<QCheckBox>(dialog, 1025).isChecked());
    EXPECT_FALSE(Button(dialog, 3).isEnabled());
    EXPECT_EQ(dialog.windowTitle(), "Graph Properties");
}

TEST_F(DlgGraphPropertiesTest, ApplyHandsTheEditedCurveToThePlot) {
    const CurveArray before = plot.GetCurves();
    CDlgGraphProperties dialog(plot, prompts);
    At<QComboBox>(dialog, 1008).setCurrentIndex(1);
    EXPECT_FALSE(Button(dialog, 3).isEnabled());
    EXPECT_EQ(ColourCombo(dialog, 1009).currentText(), "Blue");
    EXPECT_EQ(Width(dialog).text(), "1");

    ColourCombo(dialog, 1009).SelectColour(kNavy);
    At<CPenPropCombo>(dialog, 1010).SelectStyle(4);
    Width(dialog).setText("5");
    At<QCheckBox>(dialog, 1025).click();
    EXPECT_TRUE(Button(dialog, 3).isEnabled());
    EXPECT_EQ(plot.GetCurves()[1].color, before[1].color);  // nothing reaches the plot before Apply

    plot.show();
    QCoreApplication::processEvents();
    PaintCounter counter;
    plot.installEventFilter(&counter);
    Button(dialog, 3).click();
    EXPECT_GE(counter.paints, 1);
    EXPECT_FALSE(Button(dialog, 3).isEnabled());

    const GraphCurve& edited = plot.GetCurves()[1];
    EXPECT_EQ(edited.color, kNavy);
    EXPECT_EQ(edited.penStyle, 4);
    EXPECT_EQ(edited.penWidth, 4);
    EXPECT_TRUE(edited.showCircles);
    EXPECT_EQ(edited.yName, "V_NORTH");
    for (int i : {0, 2}) {
        const GraphCurve& kept = plot.GetCurves()[i];
        EXPECT_EQ(kept.color, before[i].color);
        EXPECT_EQ(kept.penStyle, before[i].penStyle);
        EXPECT_EQ(kept.penWidth, before[i].penWidth);
        EXPECT_EQ(kept.showCircles, before[i].showCircles);
    }
    EXPECT_EQ(plot.GetBackgroundColor(), kLime);

    // Going back and forth shows each curve's own edits.
    At<QComboBox>(dialog, 1008).setCurrentIndex(0);
    EXPECT_EQ(Width(dialog).text(), "2");
    At<QComboBox>(dialog, 1008).setCurrentIndex(1);
    EXPECT_EQ(Width(dialog).text(), "5");
    EXPECT_FALSE(Button(dialog, 3).isEnabled());
}

TEST_F(DlgGraphPropertiesTest, WidthIsStoredOnlyWhenAWholeValueWithinRangeIsTyped) {
    struct Case {
        const char* typed;
        bool told;     // the range message is shown
        int stored;    // the first curve's pen width after OK; -1: OK refused
    };
    const Case cases[] = {{"6", true, -1}, {"0", true, -1}, {"", false, -1}, {"-", false, -1}, {"3", false, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        prompts.prompts.clear();
        plot.GetCurves()[0].penWidth = 1;
        CDlgGraphProperties dialog(plot, prompts);
        Width(dialog).setText(c.typed);
        ASSERT_EQ(prompts.Messages().size(), c.told ? 1u : 0u);
        if (c.told) {
            EXPECT_EQ(prompts.Messages()[0].text, kWidthMessage);
        }
        EXPECT_EQ(Button(dialog, 3).isEnabled(), c.stored >= 0);

        prompts.prompts.clear();
        Button(dialog, 1).click();
        if (c.stored < 0) {
            ASSERT_EQ(prompts.Messages().size(), 1u);
            EXPECT_NE(dialog.result(), QDialog::Accepted);
            EXPECT_EQ(plot.GetCurves()[0].penWidth, 1);
        } else {
            EXPECT_TRUE(prompts.Messages().empty());
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_EQ(plot.GetCurves()[0].penWidth, c.stored);
        }
    }
}

TEST_F(DlgGraphPropertiesTest, ArrowsStepTheWidthWithinRange) {
    CDlgGraphProperties dialog(plot, prompts);
    UpDown& arrows = At<UpDown>(dialog, 1012);
    arrows.Step(10);
    EXPECT_EQ(Width(dialog).text(), "5");
    arrows.Step(-10);
    EXPECT_EQ(Width(dialog).text(), "1");
    EXPECT_TRUE(prompts.Messages().empty());
    Button(dialog, 1).click();
    EXPECT_EQ(plot.GetCurves()[0].penWidth, 0);
}

TEST_F(DlgGraphPropertiesTest, CancelAfterApplyKeepsWhatWasApplied) {
    CDlgGraphProperties dialog(plot, prompts);
    ColourCombo(dialog, 1011).SelectColour(kNavy);
    Button(dialog, 3).click();
    ColourCombo(dialog, 1009).SelectColour(kNavy);
    Button(dialog, 2).click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(plot.GetBackgroundColor(), kNavy);
    EXPECT_EQ(plot.GetCurves()[0].color, kRed);
}

TEST_F(DlgGraphPropertiesTest, ABackgroundWithoutANameIsKeptByApply) {
    plot.SetBackgroundColor(0x123456);
    CDlgGraphProperties dialog(plot, prompts);
    EXPECT_EQ(ColourCombo(dialog, 1011).currentIndex(), -1);
    ColourCombo(dialog, 1009).SelectColour(kNavy);
    Button(dialog, 1).click();
    EXPECT_EQ(plot.GetBackgroundColor(), 0x123456u);
    EXPECT_EQ(plot.GetCurves()[0].color, kNavy);
}

TEST_F(DlgGraphPropertiesTest, CategoryBarsLeaveOnlyTheColoursEditable) {
    plot.SetGraphType(GraphType::Categories);
    CDlgGraphProperties dialog(plot, prompts);
    for (int id : {1010, 1008, 1025, 1013, 1012}) EXPECT_FALSE(At<QWidget>(dialog, id).isEnabled()) << id;
    for (int id : {1009, 1011}) EXPECT_TRUE(At<QWidget>(dialog, id).isEnabled()) << id;
}

TEST_F(DlgGraphPropertiesTest, AGraphWithoutCurvesEditsOnlyTheBackground) {
    plot.GetCurves().clear();
    CDlgGraphProperties dialog(plot, prompts);
    for (int id : {1008, 1009, 1010, 1013, 1012, 1025}) EXPECT_FALSE(At<QWidget>(dialog, id).isEnabled()) << id;
    EXPECT_EQ(ColourCombo(dialog, 1009).currentIndex(), -1);
    EXPECT_EQ(At<CPenPropCombo>(dialog, 1010).currentIndex(), -1);
    EXPECT_TRUE(Width(dialog).text().isEmpty());
    ColourCombo(dialog, 1011).SelectColour(kNavy);
    Button(dialog, 3).click();
    EXPECT_EQ(plot.GetBackgroundColor(), kNavy);
    EXPECT_TRUE(prompts.Messages().empty());
}

}  // namespace
