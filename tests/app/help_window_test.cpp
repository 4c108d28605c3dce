#include <gtest/gtest.h>

#include <set>

#include <QFile>
#include <QListWidget>
#include <QRegularExpression>
#include <QUrl>

#include "command_ids.h"
#include "help_window.h"
#include "shell_fixture.h"

namespace {

using Help = ShellTest;

QString PageSource(const QString& page) {
    QFile file(":/help/manual/" + page);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST_F(Help, EachHelpCommandOpensTheManualOnItsTab) {
    ASSERT_TRUE(Start());
    struct Case {
        int command;
        CHelpWindow::Tab tab;
    };
    const Case cases[] = {{Command::HelpIndex, CHelpWindow::Tab::Index},
                          {Command::HelpSearch, CHelpWindow::Tab::Search},
                          {Command::HelpContent, CHelpWindow::Tab::Contents}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        ASSERT_TRUE(Frame().Commands().Execute(c.command));
        CHelpWindow* help = app->HelpWindow();
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->CurrentTab(), c.tab);
    }
    // Contents goes back to the manual's first page.
    app->HelpWindow()->OpenPage("solver.html");
    Frame().Commands().Execute(Command::HelpContent);
    EXPECT_EQ(app->HelpWindow()->CurrentPage(), "index.html");
}

TEST_F(Help, TheSearchListsThePagesHoldingEveryWord) {
    CHelpWindow help;
    auto pages = [&](const QString& query) {
        std::set<QString> found;
        for (const HelpTopic& topic : help.Search(query)) found.insert(topic.page);
        return found;
    };
    EXPECT_TRUE(pages("transfer capability").count("transfer_capability.html"));
    EXPECT_TRUE(pages("TRANSFER   Capability").count("transfer_capability.html"));
    EXPECT_FALSE(pages("transfer capability").count("file_formats.html"));
    EXPECT_TRUE(pages("transfer xyzzy").empty());
    EXPECT_TRUE(pages("  ").empty());

    help.ListTopics("transfer capability");
    ASSERT_GT(help.SearchResults().count(), 0);
    bool listed = false;
    for (int row = 0; row < help.SearchResults().count(); ++row) {
        listed |= help.SearchResults().item(row)->text() == "Transfer capability";
    }
    EXPECT_TRUE(listed);
}

// A page missing from the resources, a page without a title, an index entry
// or a link that leads nowhere would all show the user an empty page.
TEST_F(Help, EveryPageHasItsTitleAndEveryIndexEntryAndLinkLeadsToAPage) {
    CHelpWindow help;
    std::set<QString> pages;
    for (const HelpTopic& topic : help.Topics()) {
        SCOPED_TRACE(topic.page.toStdString());
        EXPECT_FALSE(PageSource(topic.page).isEmpty());
        EXPECT_NE(topic.title, topic.page);
        pages.insert(topic.page);
    }
    ASSERT_GT(help.IndexList().count(), 50);
    for (int row = 0; row < help.IndexList().count(); ++row) {
        EXPECT_TRUE(pages.count(help.IndexList().item(row)->data(Qt::UserRole).toString()));
    }
    static const QRegularExpression link("href=\"([^\"#]*)");
    for (const QString& page : pages) {
        for (const QRegularExpressionMatch& match : link.globalMatch(PageSource(page))) {
            SCOPED_TRACE((page + " -> " + match.captured(1)).toStdString());
            EXPECT_TRUE(pages.count(match.captured(1)));
        }
    }
}

}  // namespace
