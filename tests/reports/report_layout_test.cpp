#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixed_metric_measurer.h"
#include "recording_drawing_context.h"
#include "report_fixture.h"

namespace {

using Op = RecordedPicture::Op;

// Every character a cell 7 wide and 14 high, whatever the font, so that
// page capacities can be counted by hand; a text holding "TALL" stands 2000
// high, more than any page.
class FourteenPixelMeasurer final : public ITextMeasurer {
public:
    Size TextExtent(const LogFont&, std::string_view text) override {
        int height = text.find("TALL") != std::string_view::npos ? 2000 : 14;
        return {7 * static_cast<int>(text.size()), height};
    }
};

std::vector<RecordedPicture::Call> TextCalls(const RecordedPicture& picture) {
    std::vector<RecordedPicture::Call> texts;
    for (const auto& call : picture.Calls()) {
        if (call.op == Op::Text) texts.push_back(call);
    }
    return texts;
}

TEST(ReportLayout, LinesFillPagesDownToTheFooter) {
    // Lines start at the top margin, 25; page type 0 ends at 1006, type 2 at
    // 811: 70 and 56 lines of 14.
    struct Case {
        int type;
        int lines;
        int pages;
    };
    const Case cases[] = {{0, 70, 1}, {0, 71, 2}, {0, 140, 2}, {0, 141, 3}, {2, 56, 1}, {2, 57, 2}};
    FourteenPixelMeasurer display;
    for (const auto& c : cases) {
        ReportHandle report = NewReport(display);
        report->SetPageType(c.type);
        EXPECT_EQ(report->GetPageCount(), 0);
        for (int i = 0; i < c.lines; ++i) *report << "line" << NL;
        EXPECT_EQ(report->GetPageCount(), c.pages) << c.type << " " << c.lines;
    }
}

TEST(ReportLayout, ALineOfControlCodesTakesNoHeight) {
    FourteenPixelMeasurer display;
    ReportHandle report = NewReport(display);
    report->SetPageType(0);
    std::vector<ReportRun> runs{{"stale", 1, {1, 1}}};
    EXPECT_EQ(report->LayoutLine("\x1BG\x0E\x14\x1BH", nullptr, 0, false, &runs), (Size{0, 0}));
    EXPECT_TRUE(runs.empty());
    for (int i = 0; i < 70; ++i) *report << "line" << NL;
    for (int i = 0; i < 5; ++i) *report << fmtBoldStart << fmtBoldEnd << NL;
    EXPECT_EQ(report->GetPageCount(), 1);
}

TEST(ReportLayout, RunsAreMeasuredInTheirFonts) {
    FixedMetricMeasurer display;
    ReportHandle report = NewReport(display);
    report->SetPageType(0);
    std::vector<ReportRun> runs;
    Size size = report->LayoutLine("ab\x1BGcd\x1BH\x0E" "ef\x14", nullptr, 0, false, &runs);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].kind, 1);
    EXPECT_EQ(runs[0].extent, (Size{12, 12}));  // 6 by 12 cells of the -12 font
    EXPECT_EQ(runs[1].kind, 2);
    EXPECT_EQ(runs[2].kind, 4);
    EXPECT_EQ(runs[2].extent, (Size{18, 18}));  // 9 by 18 cells of the -18 font
    EXPECT_EQ(size, (Size{42, 18}));
}

TEST(ReportLayout, APageTallerLineGetsAPageOfItsOwnAndIsKept) {
    FourteenPixelMeasurer display;
    ReportHandle report = NewReport(display);
    report->SetPageType(0);
    report->SetOption(false);
    *report << "before" << NL << "TALL" << NL << "after" << NL;
    EXPECT_EQ(report->GetPageCount(), 3);
    EXPECT_EQ(SavedBytes(*report).substr(3), "before\r\nTALL\r\nafter\r\n");

    // Played into the page's rectangle it is drawn, clipped to the page.
    auto page2 = report->GetPageMetafile(2);
    ASSERT_NE(page2, nullptr);
    RecordingDrawingContext dc;
    page2->Play(dc, {0, 0, 725, 1040});
    auto texts = dc.Of(RecordingDrawingContext::Op::Text);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0].text, "TALL");
    EXPECT_EQ(texts[0].state.clip, (Rect{0, 0, 725, 1040}));
}

TEST(ReportLayout, ThePictureOfAPageHoldsItsRunsAndFooter) {
    FourteenPixelMeasurer display;
    ReportHandle report = NewReport(display);
    report->SetPageType(0);
    for (int i = 0; i < 70; ++i) *report << "one" << NL;
    *report << "one" << fmtBoldStart << "two" << fmtBoldEnd << "three" << NL;
    for (int i = 0; i < 70; ++i) *report << "more" << NL;
    report->SetTitle("Power flow");
    ASSERT_EQ(report->GetPageCount(), 3);
    const Rect block = report->GetTextBlock();  // 25 to 25 + 11 * 7

    EXPECT_EQ(report->GetPageMetafile(0), nullptr);
    EXPECT_EQ(report->GetPageMetafile(4), nullptr);
    auto picture = report->GetPageMetafile(2);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Frame(), (Size{725, 1040}));

    auto texts = TextCalls(*picture);
    ASSERT_GE(texts.size(), 5u);
    // The first line of page 2 in three runs on one baseline, the second in
    // the bold font.
    EXPECT_EQ(texts[0].text, "one");
    EXPECT_EQ(texts[0].points[0], (Point{25, 25 + 14}));
    EXPECT_EQ(texts[0].state.textAlign, TextAlign::Left | TextAlign::Bottom);
    EXPECT_EQ(texts[0].state.font, report->GetNormalFont());
    EXPECT_EQ(texts[1].text, "two");
    EXPECT_EQ(texts[1].points[0], (Point{25 + 21, 39}));
    EXPECT_EQ(texts[1].state.font, report->GetBoldFont());
    EXPECT_EQ(texts[2].text, "three");
    EXPECT_EQ(texts[2].state.font, report->GetNormalFont());
    EXPECT_EQ(texts[3].text, "more");
    EXPECT_EQ(texts[3].points[0], (Point{25, 39 + 14}));

    // The footer: title on the left, rule across the text block, the page
    // number right-aligned at its right edge.
    const auto& title = texts[texts.size() - 2];
    EXPECT_EQ(title.text, "Power flow");
    EXPECT_EQ(title.points[0], (Point{block.left, 1006 + 2}));
    EXPECT_TRUE(title.state.font.italic);
    EXPECT_EQ(title.state.font.height, -10);
    const auto& number = texts.back();
    EXPECT_EQ(number.text, "Page 2/3");
    EXPECT_EQ(number.points[0], (Point{block.right, 1008}));
    EXPECT_EQ(number.state.textAlign, TextAlign::Right | TextAlign::Top);
    int rules = 0;
    for (const auto& call : picture->Calls()) {
        if (call.op != Op::Line) continue;
        ++rules;
        EXPECT_EQ(call.points, (std::vector<Point>{{block.left, 1006}, {block.right - 1, 1006}}));
        EXPECT_EQ(call.state.pen, (LogPen{PenStyle::Solid, {0, 0}, kBlack}));
    }
    EXPECT_EQ(rules, 1);
    for (const auto& call : picture->Calls()) {
        EXPECT_EQ(call.state.backgroundMode, BackgroundMode::Transparent);
    }

    report->SetPageLabel("Strana");
    EXPECT_EQ(TextCalls(*report->GetPageMetafile(3)).back().text, "Strana 3/3");
}

TEST(ReportLayout, BlocksGoOnTheFirstPageAndTheHeaderWhereRepeated) {
    for (bool repeat : {false, true}) {
        FourteenPixelMeasurer display;
        ReportHandle report = NewReport(display);
        report->SetPageType(0);
        report->SetRepeatHeader(repeat);
        report->SetSection(0);
        *report << "FIRST" << NL;
        report->SetSection(1);
        *report << "HEADER" << NL << "HEADER2" << NL;
        report->SetSection(2);
        // Page 1 holds the blocks' 3 lines and 67 body lines.
        for (int i = 0; i < 67 + 10; ++i) *report << "body" << NL;
        ASSERT_EQ(report->GetPageCount(), 2);
        EXPECT_EQ(report->GetHeaderHeight(), repeat ? 28 : 0);

        auto page1 = TextCalls(*report->GetPageMetafile(1));
        ASSERT_GE(page1.size(), 4u);
        EXPECT_EQ(page1[0].text, "FIRST");
        EXPECT_EQ(page1[0].points[0], (Point{25, 39}));
        EXPECT_EQ(page1[1].text, "HEADER");
        EXPECT_EQ(page1[2].text, "HEADER2");
        EXPECT_EQ(page1[3].text, "body");
        EXPECT_EQ(page1[3].points[0], (Point{25, 25 + 4 * 14}));
        EXPECT_EQ(page1.size(), 3u + 67u + 2u);

        auto page2 = TextCalls(*report->GetPageMetafile(2));
        EXPECT_EQ(page2[0].text, repeat ? "HEADER" : "body");
        EXPECT_EQ(page2.size(), (repeat ? 2u : 0u) + 10u + 2u);

        std::string saved = SavedBytes(*report);
        std::string secondPage = saved.substr(saved.find("body") + 67 * 6);
        EXPECT_EQ(secondPage.rfind("HEADER\r\nHEADER2\r\nbody", 0) == 0, repeat);
    }
}

TEST(ReportLayout, ABlockWidensTheTextBlock) {
    FourteenPixelMeasurer display;
    ReportHandle report = NewReport(display);
    report->SetPageType(0);
    report->SetSection(0);
    *report << "a wide first-page line" << NL;  // 22 cells of 7
    EXPECT_EQ(report->GetTextBlock().right, 25);
    report->SetSection(2);
    EXPECT_EQ(report->GetTextBlock().right, 25 + 22 * 7);
}

TEST(ReportLayout, ABlockLeftForSectionThreeIsSavedButNotDrawn) {
    FourteenPixelMeasurer display;
    ReportHandle report = NewReport(display);
    report->SetPageType(0);
    report->SetOption(false);
    report->SetSection(0);
    *report << "FIRST" << NL;
    report->SetSection(3);
    *report << "body" << NL;

    auto texts = TextCalls(*report->GetPageMetafile(1));
    ASSERT_EQ(texts.size(), 3u);  // the body line and the footer
    EXPECT_EQ(texts[0].text, "body");
    EXPECT_EQ(texts[0].points[0], (Point{25, 39}));
    EXPECT_EQ(SavedBytes(*report).substr(3), "FIRST\r\nbody\r\n");
}

}  // namespace
