#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include <QMdiArea>
#include <QScrollBar>
#include <QTest>

#include "command_ids.h"
#include "report_window_fixture.h"

namespace {

using ReportWindow = ReportWindowTest;
using namespace Command;

const std::initializer_list<int> kPageCommands{PreviousPage, NextPage, FirstPage, LastPage, GoToPage};
const std::initializer_list<int> kScrollCommands{StartOfPageUp, EndOfPageDown, StartOfPageLeft, EndOfPageRight,
                                                 MoveUp,        MoveDown,      MoveLeft,        MoveRight};

TEST_F(ReportWindow, PageCommandsFollowThePageShown) {
    struct Case {
        int pages;
        int page;
        std::vector<bool> enabled;  // previous, next, first, last, go to
    };
    const Case cases[] = {
        {1, 1, {false, false, false, false, false}}, {2, 1, {false, true, false, true, true}},
        {2, 2, {true, false, true, false, true}},    {5, 1, {false, true, false, true, true}},
        {5, 3, {true, true, true, true, true}},      {5, 5, {true, false, true, false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.page << " of " << c.pages);
        CountingReport& report = Open(c.pages);
        for (int page = 1; page < c.page; ++page) Execute(NextPage);
        EXPECT_EQ(View().CurrentPage(), c.page);
        EXPECT_EQ(Enabled(kPageCommands), c.enabled);
        // One picture per page shown, the first at the initial update.
        ASSERT_EQ(report.rendered.size(), static_cast<std::size_t>(c.page));
        EXPECT_EQ(report.rendered.back(), c.page);
    }
}

TEST_F(ReportWindow, PageCommandsTurnPagesAndADisabledOneDoesNothing) {
    CountingReport& report = Open(5);
    Execute(LastPage);
    EXPECT_EQ(View().CurrentPage(), 5);
    Execute(PreviousPage);
    EXPECT_EQ(View().CurrentPage(), 4);
    Execute(FirstPage);
    EXPECT_EQ(View().CurrentPage(), 1);
    EXPECT_EQ(report.rendered, (std::vector<int>{1, 5, 4, 1}));
    // Whatever road a command takes, it checks its own condition.
    View().Execute(PreviousPage);
    View().Execute(FirstPage);
    EXPECT_EQ(View().CurrentPage(), 1);
    EXPECT_EQ(report.rendered.size(), 4u);
}

TEST_F(ReportWindow, AReportWithoutPagesShowsTheEmptyPageAndOffersNoPageCommand) {
    CountingReport& report = Open(0);
    SizeClient(1400, 900);
    EXPECT_EQ(Enabled(kPageCommands), std::vector<bool>(5, false));
    for (int id : kPageCommands) View().Execute(id);
    EXPECT_EQ(View().CurrentPage(), 1);
    EXPECT_EQ(report.rendered, std::vector<int>{1});  // asked once, at the initial update; no picture came
    QImage shot = Grab();
    EXPECT_EQ(shot.pixelColor(700, 400), Qt::white);
    EXPECT_EQ(shot.pixelColor(120, 400), Qt::black);
}

TEST_F(ReportWindow, ScrollCommandsFollowTheScrollPosition) {
    Open(2);  // a landscape page: 1160 x 845, with its margins 1180 x 865
    SizeClient(600, 400);
    QScrollBar& down = *View().Client().verticalScrollBar();
    QScrollBar& across = *View().Client().horizontalScrollBar();
    // up, down, left, right, then the four line moves
    EXPECT_EQ(Enabled(kScrollCommands), (std::vector<bool>{false, true, false, true, false, true, false, true}));

    Execute(MoveDown);
    Execute(MoveRight);
    EXPECT_EQ(down.value(), 8);  // a line is a hundredth of the whole
    EXPECT_EQ(across.value(), 11);
    EXPECT_EQ(Enabled(kScrollCommands), std::vector<bool>(8, true));

    Execute(EndOfPageDown);
    Execute(EndOfPageRight);
    EXPECT_EQ(down.value(), 865 - 400);
    EXPECT_EQ(across.value(), 1180 - 600);
    EXPECT_EQ(Enabled(kScrollCommands), (std::vector<bool>{true, false, true, false, true, false, true, false}));
    Execute(MoveRight);  // sent even at the end; the bar stays there
    EXPECT_EQ(across.value(), 1180 - 600);

    // Turning the page keeps the position.
    Execute(NextPage);
    EXPECT_EQ(down.value(), 865 - 400);
    Execute(MoveUp);
    Execute(MoveLeft);
    EXPECT_EQ(down.value(), 865 - 400 - 8);
    EXPECT_EQ(across.value(), 1180 - 600 - 11);
    Execute(StartOfPageUp);
    Execute(StartOfPageLeft);
    EXPECT_EQ(down.value(), 0);
    EXPECT_EQ(across.value(), 0);

    SizeClient(1400, 1000);  // the whole page fits
    EXPECT_EQ(Enabled(kScrollCommands), std::vector<bool>(8, false));
}

TEST_F(ReportWindow, ThePageLiesOnTheGreyDeskCentredOnlyWhenThereIsRoom) {
    Open(1);
    SizeClient(1400, 900);
    QImage shot = Grab();
    ASSERT_EQ(shot.width(), 1400);
    const QColor desk(128, 128, 128);
    // (1400 - 1160) / 2 = 120 from the left, 10 from the top.
    const int left = 120, top = 10, right = left + 1160, bottom = top + 845;
    EXPECT_EQ(shot.pixelColor(60, 400), desk);
    EXPECT_EQ(shot.pixelColor(700, 5), desk);
    EXPECT_EQ(shot.pixelColor(700, 400), Qt::white);
    // The border, 2 pixels on the outline; the shadow, 2 pixels a pixel
    // off the page to the right and below, from 2 pixels in.
    for (QPoint border : {QPoint(left - 1, 400), QPoint(left, 400), QPoint(right - 2, 400), QPoint(right - 1, 400),
                          QPoint(700, top - 1), QPoint(700, top), QPoint(700, bottom - 2), QPoint(700, bottom - 1),
                          QPoint(right + 1, 400), QPoint(right + 2, 400), QPoint(700, bottom + 1),
                          QPoint(700, bottom + 2), QPoint(right + 2, top + 1), QPoint(left + 2, bottom + 2)}) {
        EXPECT_EQ(shot.pixelColor(border), Qt::black) << border.x() << "," << border.y();
    }
    for (QPoint outside : {QPoint(left - 2, 400), QPoint(700, top - 2), QPoint(right, 400), QPoint(right + 3, 400),
                           QPoint(700, bottom), QPoint(700, bottom + 3), QPoint(right + 2, top),
                           QPoint(left, bottom + 2)}) {
        EXPECT_EQ(shot.pixelColor(outside), desk) << outside.x() << "," << outside.y();
    }
    // The picture of the page, one report unit to a pixel.
    Rect bar = CountingReport::BarOf(1);
    EXPECT_EQ(shot.pixelColor(left + bar.left + 5, top + bar.top + 5), Qt::black);
    EXPECT_EQ(shot.pixelColor(left + bar.right + 5, top + bar.top + 5), Qt::white);

    SizeClient(900, 600);
    shot = Grab();
    EXPECT_EQ(shot.pixelColor(0, 300), Qt::black);
    EXPECT_EQ(shot.pixelColor(300, 300), Qt::white);
    EXPECT_EQ(shot.pixelColor(300, 5), desk);
    EXPECT_EQ(shot.pixelColor(bar.left + 5, top + bar.top + 5), Qt::black);
}

// The longest run of dark pixels in any row of the image.
int LongestDarkRun(const QImage& image) {
    int longest = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = image.pixelColor(x, y).lightness() < 128 ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    return longest;
}

TEST_F(ReportWindow, ARuleOfDashesIsDrawnUnbrokenInTheMonospacedFace) {
    ASSERT_TRUE(Start());
    IDBReport* report = createReport(app->TextMeasurer());
    report->SetPageType(2);
    report->Rule('-', 60, true);  // 60 bytes 0x97, the em dash
    const int ruleWidth = app->TextMeasurer().TextExtent(report->GetNormalFont(), std::string(60, '\x97')).cx;
    app->OpenResultsDocument(report);
    SizeClient(1400, 900);
    // The page's frame and footer rule left out: only the text block's first
    // lines.
    QImage lines = Grab().copy(120 + 25, 10 + 20, 1160 - 50, 40);
    EXPECT_GE(LongestDarkRun(lines), ruleWidth - 2);
    EXPECT_GT(ruleWidth, 60 * 6);  // a cell of the 12-pixel face, not a missing glyph's box
}

TEST_F(ReportWindow, ClosingTheLastWindowOfTheReportReleasesItOnce) {
    CountingReport& report = Open(3);
    Execute(WindowNew);  // a second window on the same report
    ASSERT_EQ(Windows().size(), 2u);
    Windows()[1]->close();
    SettleDeletions();
    EXPECT_EQ(report.releases, 0);
    Windows()[0]->close();
    SettleDeletions();
    EXPECT_EQ(report.releases, 1);
}

TEST_F(ReportWindow, PagingKeysBelongToTheReportWindow) {
    Open(5);
    Idle();
    QTest::keyClick(&Frame(), Qt::Key_PageDown);
    EXPECT_EQ(View().CurrentPage(), 2);
    QTest::keyClick(&Frame(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(View().CurrentPage(), 5);
    QTest::keyClick(&Frame(), Qt::Key_PageUp);
    EXPECT_EQ(View().CurrentPage(), 4);
    QTest::keyClick(&Frame(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(View().CurrentPage(), 1);

    // A network window gives its keys to commands of its own.
    CChildFrame* reportWindow = Windows()[0];
    Execute(FileNew);
    for (int id : {PreviousPage, NextPage, LastPage, MoveRight}) {
        EXPECT_TRUE(Frame().Commands().Find(id)->shortcuts().isEmpty()) << id;
    }
    EXPECT_TRUE(Frame().Commands().Find(SnapToGrid)->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_End)));
    Frame().MdiArea().setActiveSubWindow(reportWindow);
    EXPECT_EQ(Frame().Commands().Find(LastPage)->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_PageDown), QKeySequence(Qt::CTRL | Qt::Key_End)}));
    EXPECT_EQ(Frame().Commands().Find(StartOfPageUp)->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Up), QKeySequence(Qt::ALT | Qt::Key_Home)}));
}

}  // namespace
