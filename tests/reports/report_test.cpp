#include <gtest/gtest.h>

#include <string>

#include "decimal_character.h"
#include "fixed_metric_measurer.h"
#include "report_fixture.h"

namespace {

// What SaveAs writes before the first line of a portrait report.
const std::string kPortraitStart = "\x1BM\x12";

// Saves one line streamed by `write` and answers it as stored.
template <typename Write>
std::string StoredLine(Write write) {
    FixedMetricMeasurer display;
    ReportHandle report = NewReport(display);
    report->SetOption(false);
    write(*report);
    *report << NL;
    std::string bytes = SavedBytes(*report);
    EXPECT_EQ(bytes.substr(0, 3), kPortraitStart);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    return bytes.substr(3, bytes.size() - 5);
}

TEST(Report, StreamingBuildsTheLine) {
    SetDecimalCharacter(',');
    struct Case {
        const char* what;
        std::string line;
        std::string expected;
    };
    const Case cases[] = {
        {"empty line", StoredLine([](IDBReport&) {}), " "},
        {"texts", StoredLine([](IDBReport& r) { r << "a" << std::string("b") << 'c' << static_cast<const char*>(nullptr); }),
         "abc"},
        {"rule of dashes", StoredLine([](IDBReport& r) { r.Rule('-', 3, false); }), "\x97\x97\x97"},
        {"rule of other", StoredLine([](IDBReport& r) { r.Rule('=', 2, false); r.Rule('=', -1, false); }), "=="},
        {"spaces", StoredLine([](IDBReport& r) { r << "x"; r.Spaces(2); r.Spaces(-3); }), "x  "},
        {"right justify", StoredLine([](IDBReport& r) { r.RightJustify("abcdef", 4); r.RightJustify(std::string("ab"), 4); }),
         "abcd  ab"},
        {"left justify", StoredLine([](IDBReport& r) { r.LeftJustify("ab", 4); r.LeftJustify(std::string("abcdef"), 2); }),
         "ab  ab"},
        {"double", StoredLine([](IDBReport& r) { r.Number(3.5, 6, 2); }), "  3,50"},
        {"long", StoredLine([](IDBReport& r) { r.Number(42L, 4); }), "  42"},
        {"date", StoredLine([](IDBReport& r) { r << DateTime{2024, 3, 5, 0, 0, 0}; }), "05.03.2024"},
        {"invalid date", StoredLine([](IDBReport& r) { r << DateTime{}; }), "-1.-1.  -1"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.line, c.expected) << c.what;
}

TEST(Report, RulesAndWriteLinesCloseLines) {
    FixedMetricMeasurer display;
    ReportHandle report = NewReport(display);
    report->Rule('-', 3, true);
    report->WriteLines("first\r\n\r\nsecond line\nthird", 6);
    EXPECT_EQ(SavedBytes(*report), kPortraitStart + "\x97\x97\x97\r\nfirst\r\nsecond\r\nthird\r\n");
}

TEST(Report, TheLastReleaseDeletesTheReport) {
    // The sanitizer reports the report as leaked if it outlives its count.
    FixedMetricMeasurer display;
    IDBReport* report = createReport(display);
    ASSERT_NE(report, nullptr);
    report->AddRef();
    EXPECT_EQ(report->Release(), 1);
    EXPECT_EQ(report->Release(), 0);
}

TEST(Report, AFreshReportLaysOutOnTheInitialPage) {
    FixedMetricMeasurer display;
    ReportHandle report = NewReport(display);
    EXPECT_EQ(report->GetPageSize(), (Size{756, 1069}));
    EXPECT_EQ(report->GetColumns(), 96);
    EXPECT_EQ(report->GetMargins(), (Rect{25, 25, 744, 1035}));
    EXPECT_EQ(report->GetTextBlock(), (Rect{25, 25, 25, 1035}));
    EXPECT_STREQ(report->GetTitle(), "");
    EXPECT_TRUE(report->GetOption());

    // A line closed before any page type widens the text block: 10 cells of
    // the normal font, 6 units each.
    *report << "0123456789" << NL;
    EXPECT_EQ(report->GetTextBlock(), (Rect{25, 25, 85, 1035}));
    EXPECT_EQ(report->GetPageCount(), 1);
}

TEST(Report, PageTypesSetSizesColumnsAndFonts) {
    struct Case {
        int type;
        Size page;
        int columns;
        int height;
        int highHeight;
        bool landscape;
    };
    const Case cases[] = {
        {2, {1160, 845}, 158, -12, -18, true},
        {1, {725, 1040}, 115, -10, -16, false},
        {0, {725, 1040}, 96, -12, -18, false},
        {7, {725, 1040}, 96, -12, -18, false},
    };
    FixedMetricMeasurer display;
    for (const auto& c : cases) {
        ReportHandle report = NewReport(display);
        EXPECT_EQ(report->SetPageType(c.type), c.page.cy - 34);
        EXPECT_EQ(report->GetPageSize(), c.page);
        EXPECT_EQ(report->GetColumns(), c.columns);
        EXPECT_EQ(report->IsLandscape(), c.landscape);
        EXPECT_EQ(report->GetMargins(), (Rect{25, 25, c.page.cx - 12, c.page.cy - 34}));
        EXPECT_EQ(report->GetTextBlock(), (Rect{25, 25, 25, c.page.cy - 34}));
        EXPECT_EQ(report->GetNormalFont().height, c.height);
        EXPECT_EQ(report->GetNormalFont().FaceName(), "Lucida Console");
        EXPECT_EQ(report->GetBoldFont().weight, 700);
        EXPECT_EQ(report->GetBoldFont().FaceName(), "Arial");
        EXPECT_EQ(report->GetHighFont().height, c.highHeight);
        EXPECT_TRUE(report->GetHighFont().italic);
        EXPECT_TRUE(report->GetItalicFont().italic);
        EXPECT_EQ(report->GetBoldItalicFont().weight, 700);
        EXPECT_EQ(report->GetNormalFont().charSet, 238);
    }
}

TEST(Report, AlignmentMovesTheTextBlock) {
    FixedMetricMeasurer display;
    ReportHandle report = NewReport(display);
    report->SetPageType(0);
    *report << "0123456789" << NL;  // 60 units wide; margins 25 to 713
    struct Case {
        int alignment;
        int left;
        int right;
    };
    const Case cases[] = {{2, 339, 399}, {1, 653, 713}, {0, 25, 85}, {5, 25, 85}};
    for (const auto& c : cases) {
        report->SetAlignment(c.alignment);
        EXPECT_EQ(report->GetTextBlock().left, c.left) << c.alignment;
        EXPECT_EQ(report->GetTextBlock().right, c.right) << c.alignment;
    }
}

// Where lines written in each section end up in the saved file: blocks come
// first on page 1, body lines after them.
TEST(Report, SectionsDecideWhereLinesGo) {
    struct Step {
        int section;
        const char* line;
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
        std::string saved;
    };
    const Case cases[] = {
        {"blocks before the body", {{0, "first"}, {1, "header"}, {2, "body"}}, "first\r\nheader\r\nbody\r\n"},
        {"body written before a block still follows it", {{2, "body"}, {0, "first"}}, "first\r\nbody\r\n"},
        {"section 3 is a body", {{1, "header"}, {3, "body"}}, "header\r\nbody\r\n"},
    };
    FixedMetricMeasurer display;
    for (const auto& c : cases) {
        ReportHandle report = NewReport(display);
        for (const Step& step : c.steps) {
            report->SetSection(step.section);
            *report << step.line << NL;
        }
        EXPECT_EQ(SavedBytes(*report).substr(3), c.saved) << c.what;
    }
}

TEST(Report, OnceASecondPageExistsOnlySectionThreeIsTaken) {
    FixedMetricMeasurer display;
    ReportHandle report = NewReport(display);
    report->SetPageType(0);
    for (int i = 0; i < 90; ++i) *report << "x" << NL;  // 81 lines of 12 units fill page 1
    ASSERT_EQ(report->GetPageCount(), 2);

    report->SetSection(0);
    *report << "still body" << NL;
    std::string saved = SavedBytes(*report);
    EXPECT_EQ(saved.substr(saved.size() - 12), "still body\r\n");

    // Section 3: pages made from now on leave out the header block.
    report->SetSection(3);
    for (int i = 0; i < 90; ++i) *report << "y" << NL;
    report->SetSection(1);
    *report << "late" << NL;  // ignored: the line goes to the body
    saved = SavedBytes(*report);
    EXPECT_EQ(saved.substr(saved.size() - 6), "late\r\n");
}

}  // namespace
