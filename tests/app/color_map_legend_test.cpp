#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "color_list_box.h"
#include "color_map.h"
#include "color_map_legend.h"
#include "profile.h"
#include "scripted_prompt_service.h"

namespace {

struct Row {
    QString text;
    ColorRef color;
};

class ColorMapLegendTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    Profile profile{folder.filePath("tavrin.ini")};
    ScriptedPromptService prompts;
    ColorMap nominalVoltage;
    ColorMap loading;
    ColorMap busVoltage;
    CColorMapLegend legend{prompts, &profile, {nominalVoltage, loading, busVoltage}};

    void SetUp() override { legend.SetUp(); }

    std::vector<Row> Rows() const {
        std::vector<Row> rows;
        ColorListBox& list = legend.List();
        for (int i = 0; i < list.count(); ++i) rows.push_back({list.item(i)->text(), list.ItemRecord(i).color});
        return rows;
    }
};

void ExpectRows(const std::vector<Row>& shown, const std::vector<Row>& expected) {
    ASSERT_EQ(shown.size(), expected.size());
    for (size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i].text, expected[i].text) << "row " << i;
        EXPECT_EQ(shown[i].color, expected[i].color) << "row " << i;
    }
}

TEST_F(ColorMapLegendTest, EachModeShowsItsMapsBandsOrTheDefaultColours) {
    busVoltage.Add(1.5f, Rgb(255, 0, 0));
    busVoltage.Add(0.9f, Rgb(0, 0, 255));
    busVoltage.Add(1.1f, Rgb(0, 255, 0));
    nominalVoltage.Add(110.0f, Rgb(1, 2, 3));
    nominalVoltage.Add(400.0f, Rgb(4, 5, 6));
    loading.Add(100.0f, Rgb(7, 8, 9));
    profile.WriteProfileColors(Rgb(10, 20, 30), Rgb(40, 50, 60));
    profile.WriteProfileBackgroundColor(Rgb(70, 80, 90));
    struct Case {
        int mode;
        const char* windowText;
        std::vector<Row> rows;
    };
    const Case cases[] = {
        {3,
         "Voltage Profile Color Map",
         {{"0.00 < voltage profile [p.u.] < 0.90", Rgb(0, 0, 255)},
          {"0.90 < voltage profile [p.u.] < 1.10", Rgb(0, 255, 0)},
          {"1.10 < voltage profile [p.u.] < 1.50", Rgb(255, 0, 0)}}},
        {0,
         "User Color Map",
         {{"Default line color", Rgb(10, 20, 30)},
          {"Default font color", Rgb(40, 50, 60)},
          {"Default back color", Rgb(70, 80, 90)}}},
        {1,
         "Nominal Voltage Color Map",
         {{"0.00 < nominal volatage Vn [kV] < 110.00", Rgb(1, 2, 3)},
          {"110.00 < nominal volatage Vn [kV] < 400.00", Rgb(4, 5, 6)}}},
        {2, "Loading Profile Color Map", {{"0.00 < element loading [%] < 100.00", Rgb(7, 8, 9)}}},
        {7,
         "User Color Map",
         {{"Default line color", Rgb(10, 20, 30)},
          {"Default font color", Rgb(40, 50, 60)},
          {"Default back color", Rgb(70, 80, 90)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        legend.SetMapType(c.mode);
        EXPECT_EQ(legend.MapType(), c.mode);
        EXPECT_EQ(legend.windowTitle(), c.windowText);
        ExpectRows(Rows(), c.rows);
    }
}

TEST_F(ColorMapLegendTest, StartsEmptyAndAnEmptyMapGivesAnEmptyList) {
    EXPECT_EQ(legend.MapType(), 0);
    EXPECT_TRUE(Rows().empty());
    legend.SetMapType(0);  // the mode it starts in: still nothing
    EXPECT_TRUE(Rows().empty());

    legend.SetMapType(3);
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(legend.windowTitle(), "Voltage Profile Color Map");
}

TEST_F(ColorMapLegendTest, TheModeShownAgainLeavesTheListAsItWas) {
    legend.SetMapType(1);
    legend.SetMapType(0);
    profile.WriteProfileColors(Rgb(255, 255, 0), Rgb(0, 255, 255));
    legend.SetMapType(0);
    ExpectRows(Rows(), {{"Default line color", 0}, {"Default font color", 0}, {"Default back color", kWhite}});
}

TEST_F(ColorMapLegendTest, RowsAreSwatchesBesideTextInTheSystemTextColour) {
    busVoltage.Add(0.95f, Rgb(0, 128, 0));
    legend.SetMapType(3);
    ColorListBox& list = legend.List();
    EXPECT_EQ(list.FixedItemHeight(), 14);
    EXPECT_EQ(list.Swatch().gap, 3);
    EXPECT_EQ(list.Swatch().leftMargin, 2);
    EXPECT_EQ(list.Swatch().topMargin, 2);
    EXPECT_EQ(list.Swatch().bottomMargin, 2);
    EXPECT_EQ(list.Swatch().rightEdge, 50);
    const ColorListItem item = list.ItemRecord(0);
    EXPECT_EQ(item.textColor, kSystemColor);
    EXPECT_EQ(item.format2, TextFormat::VerticalCenter);
    EXPECT_TRUE(item.enabled);
}

TEST(ColorMapLegend, WithoutAProfileTheDefaultsAreBlackBlackAndWhite) {
    ScriptedPromptService prompts;
    ColorMap a, b, c;
    CColorMapLegend legend(prompts, nullptr, {a, b, c});
    legend.SetUp();
    legend.SetMapType(2);
    legend.SetMapType(0);
    ASSERT_EQ(legend.List().count(), 3);
    EXPECT_EQ(legend.List().ItemRecord(0).color, 0u);
    EXPECT_EQ(legend.List().ItemRecord(1).color, 0u);
    EXPECT_EQ(legend.List().ItemRecord(2).color, kWhite);
}

}  // namespace
