#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "fixed_metric_measurer.h"
#include "report_fixture.h"

namespace fs = std::filesystem;

namespace {

// The goldens below are written byte by byte: ESC M, the pitch code (SI for
// landscape pages, DC2 for the others), the lines with CR LF, and with form
// feeds FF CR LF after every page.

TEST(ReportSaving, ThePitchCodeFollowsThePageType) {
    struct Case {
        int type;
        std::string bytes;
    };
    const Case cases[] = {
        {2, std::string("\x1B\x4D\x0F" "a\x0D\x0A")},
        {1, std::string("\x1B\x4D\x12" "a\x0D\x0A")},
        {0, std::string("\x1B\x4D\x12" "a\x0D\x0A")},
    };
    FixedMetricMeasurer display;
    for (const auto& c : cases) {
        ReportHandle report = NewReport(display);
        report->SetPageType(c.type);
        *report << "a" << NL;
        EXPECT_EQ(SavedBytes(*report), c.bytes) << c.type;
    }
    // A report without a line is the pitch code alone.
    ReportHandle empty = NewReport(display);
    EXPECT_EQ(SavedBytes(*empty, true), std::string("\x1B\x4D\x12"));
}

TEST(ReportSaving, FormFeedsEndEveryPage) {
    FixedMetricMeasurer display;
    ReportHandle report = NewReport(display);
    report->SetPageType(2);
    // 12 units a line from 25 down to 811: 65 lines fill a landscape page.
    for (int i = 0; i < 66; ++i) *report << (i < 65 ? "p1" : "p2") << NL;
    ASSERT_EQ(report->GetPageCount(), 2);

    std::string page1;
    for (int i = 0; i < 65; ++i) page1 += "p1\x0D\x0A";
    const std::string start("\x1B\x4D\x0F");
    EXPECT_EQ(SavedBytes(*report, true), start + page1 + "\x0C\x0D\x0A" + "p2\x0D\x0A" + "\x0C\x0D\x0A");
    EXPECT_EQ(SavedBytes(*report, false), start + page1 + "p2\x0D\x0A");
}

TEST(ReportSaving, LettersGoToCodePage852WhenAsked) {
    FixedMetricMeasurer display;
    ReportHandle report = NewReport(display);
    // The ten letters, then bytes that stay: the rule dash and control codes,
    // the italic ones included.
    *report << "\x8A\x8E\x9A\x9E\xC6\xC8\xD0\xE6\xE8\xF0" << "\x97\x1BG\x0E" << fmtItalicStart << NL;
    *report << "two\nlines" << NL;  // a newline inside a line is written as CR LF too

    const std::string start("\x1B\x4D\x12");
    const std::string after = "\x97\x1BG\x0E\x1B\x34\x0D\x0A" "two\x0D\x0Alines\x0D\x0A";
    EXPECT_EQ(SavedBytes(*report), start + "\xE6\xA6\xE7\xA7\x8F\xAC\xD1\x86\x9F\xD0" + after);
    report->SetOption(false);
    EXPECT_EQ(SavedBytes(*report), start + "\x8A\x8E\x9A\x9E\xC6\xC8\xD0\xE6\xE8\xF0" + after);
}

TEST(ReportSaving, AFileThatCannotBeWrittenAnswersFalseAndLeavesNoFile) {
    FixedMetricMeasurer display;
    ReportHandle report = NewReport(display);
    *report << "text" << NL;

    fs::path folder = UniqueTempPath("tavrin_report_folder");
    fs::create_directories(folder);
    const fs::path missing = folder / "no such folder" / "report.txt";
    EXPECT_FALSE(report->SaveAs(missing.c_str(), false));
    EXPECT_FALSE(fs::exists(missing.parent_path()));
    EXPECT_FALSE(report->SaveAs(nullptr, false));
    EXPECT_FALSE(report->SaveAs("", false));

    // A folder that cannot be written (unless the tests run as root, who may
    // write anywhere): the old file stays and no other file appears.
    const fs::path old = folder / "report.txt";
    { std::ofstream(old) << "old"; }
    ::chmod(folder.c_str(), 0555);
    if (::access(folder.c_str(), W_OK) != 0) {
        EXPECT_FALSE(report->SaveAs(old.c_str(), false));
        EXPECT_EQ(FileBytes(old), "old");
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    }
    ::chmod(folder.c_str(), 0755);

    // Saved again where it can be: the new content replaces the old.
    EXPECT_TRUE(report->SaveAs(old.c_str(), false));
    EXPECT_EQ(FileBytes(old), std::string("\x1B\x4D\x12" "text\x0D\x0A"));
    fs::remove_all(folder);
}

}  // namespace
