#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "dlg_messages.h"
#include "image_strip.h"
#include "message_list.h"
#include "profile.h"
#include "scripted_prompt_service.h"

namespace {

class MessageWindowTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    Profile profile{folder.filePath("tavrin.ini")};
    ScriptedPromptService prompts;
    CDlgMessages window{prompts, &profile};

    void SetUp() override { window.SetUp(); }

    QString Cell(int row, int column) const {
        const MessageList::Row& shown = window.Messages().At(row);
        return column == MessageList::TimeColumn ? shown.time : shown.text;
    }
    // What came is shown once the program is idle again.
    static void Idle() { QCoreApplication::processEvents(); }
    int Rows() const { return window.Messages().Count(); }
};

TEST_F(MessageWindowTest, TheTimeIsTheClocksHourMinuteAndSecond) {
    struct Case {
        QTime time;
        const char* shown;
    };
    const Case cases[] = {
        {QTime(9, 5, 3), "09:05:03"},
        {QTime(23, 59, 59), "23:59:59"},
        {QTime(0, 0, 0), "00:00:00"},
        {QTime(), "-1:-1:-1"},  // a time that cannot be read
    };
    for (const Case& c : cases) {
        window.SetClock([&] { return c.time; });
        window.AddMessage(IMessageSink::Information, "Started solving PF");
        EXPECT_EQ(Cell(Rows() - 1, MessageList::TimeColumn), c.shown);
        EXPECT_EQ(Cell(Rows() - 1, MessageList::TextColumn), "Started solving PF");
    }
}

TEST_F(MessageWindowTest, ADisabledSinkDropsMessagesForGood) {
    IMessageSink& sink = window;
    EXPECT_EQ(sink.IsEnabled(), 1);
    sink.AddMessage(0, "kept");
    sink.SetEnabled(0);
    EXPECT_EQ(sink.IsEnabled(), 0);
    sink.AddMessage(3, "dropped");
    sink.SetEnabled(1);
    sink.AddMessage(2, "kept too");
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(0, MessageList::TextColumn), "kept");
    EXPECT_EQ(Cell(1, MessageList::TextColumn), "kept too");
}

TEST_F(MessageWindowTest, TheTextIsCopiedAndReadAsWindows1250) {
    std::string text = "Bus \xC8" "ap\x9A" "e voltage limit";  // Čapše
    window.AddMessage(2, text.c_str());
    text.assign(text.size(), 'x');
    window.AddMessage(2, nullptr);
    EXPECT_EQ(Cell(0, MessageList::TextColumn), QString::fromUtf8("Bus \u010Cap\u0161e voltage limit"));
    EXPECT_EQ(Cell(1, MessageList::TextColumn), "");
}

TEST_F(MessageWindowTest, EachLevelShowsItsIconAndOtherLevelsNone) {
    const std::vector<QIcon> icons = LoadImageStrip(ShellImages::kMessageLevels);
    ASSERT_EQ(icons.size(), 4u);
    for (int level = -1; level <= 4; ++level) window.AddMessage(level, "x");
    Idle();
    for (int row = 0; row < Rows(); ++row) {
        const int level = row - 1;
        SCOPED_TRACE(level);
        QVariant shown = window.Messages().data(window.Messages().index(row, 0), Qt::DecorationRole);
        if (level < 0 || level > 3) {
            EXPECT_FALSE(shown.isValid());
            continue;
        }
        ASSERT_TRUE(shown.canConvert<QIcon>());
        EXPECT_EQ(shown.value<QIcon>().pixmap(16, 16).toImage(),
                  icons[static_cast<size_t>(level)].pixmap(16, 16).toImage());
        for (int other = 0; other < 4; ++other) {
            if (other == level) continue;
            EXPECT_NE(shown.value<QIcon>().pixmap(16, 16).toImage(),
                      icons[static_cast<size_t>(other)].pixmap(16, 16).toImage());
        }
    }
}

TEST_F(MessageWindowTest, TheNewestOfManyRowsIsCurrentAndVisible) {
    window.resize(500, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (int i = 0; i < 10000; ++i) window.AddMessage(i % 4, QString("message %1").arg(i).toLatin1().constData());
    EXPECT_EQ(window.Messages().rowCount(), 0);  // not yet: the program is busy
    Idle();
    EXPECT_EQ(window.Messages().rowCount(), 10000);
    QTableView& list = window.List();
    EXPECT_EQ(list.currentIndex().row(), 9999);
    EXPECT_TRUE(list.selectionModel()->isRowSelected(9999, {}));
    const QRect shown = list.visualRect(window.Messages().index(9999, MessageList::TextColumn));
    EXPECT_TRUE(list.viewport()->rect().contains(shown)) << shown.y() << " in " << list.viewport()->height();
}

TEST_F(MessageWindowTest, MessagesThatCameWhileHiddenAreThereWhenShown) {
    window.hide();
    for (int i = 0; i < 300; ++i) window.AddMessage(1, "while hidden");
    window.resize(500, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QRect shown = window.List().visualRect(window.Messages().index(299, 0));
    EXPECT_TRUE(window.List().viewport()->rect().contains(shown));
}

TEST_F(MessageWindowTest, TwoColumnsTimeThenTheRestOfTheWidth) {
    window.resize(500, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QHeaderView& columns = *window.List().horizontalHeader();
    EXPECT_EQ(window.Messages().headerData(0, Qt::Horizontal).toString(), " Time");
    EXPECT_EQ(window.Messages().headerData(1, Qt::Horizontal).toString(), "Message");
    EXPECT_GE(columns.sectionSize(0), CDlgMessages::kTimeColumnWidth);
    window.SetClock([] { return QTime(20, 58, 48); });
    window.AddMessage(0, "the time is read whole");
    Idle();
    EXPECT_GE(columns.sectionSize(0), static_cast<QAbstractItemView&>(window.List()).sizeHintForColumn(0));
    EXPECT_EQ(columns.sectionSize(0) + columns.sectionSize(1), window.List().viewport()->width());
    window.resize(700, 300);
    EXPECT_EQ(columns.sectionSize(0) + columns.sectionSize(1), window.List().viewport()->width());
    EXPECT_TRUE(window.List().showGrid());
    EXPECT_EQ(window.List().selectionBehavior(), QAbstractItemView::SelectRows);
}

TEST_F(MessageWindowTest, EscapeOnlyHidesTheWindow) {
    window.show();
    window.AddMessage(0, "done");
    QTest::keyClick(&window.List(), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(profile.GetProfileInt("Messages", "Visible", 1), 0);
}

}  // namespace
