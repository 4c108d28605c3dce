#include <gtest/gtest.h>

#include "command_ids.h"
#include "dlg_messages.h"
#include "main_frame.h"
#include "message_list.h"
#include "shell_fixture.h"

namespace {

using Documents = ShellTest;

TEST_F(Documents, ClosingAModifiedDocumentAsksAndKeepsItOnCancel) {
    QString path = WriteTextFile("notes.tst", "old");
    const std::string stored = Bytes(path);
    ASSERT_TRUE(Start({"-nosplash", path}));
    auto* document = dynamic_cast<TextDocument*>(Windows()[0]->View().GetDocument());
    document->text = "new";
    document->SetModifiedFlag();
    EXPECT_TRUE(Windows()[0]->isWindowModified());

    prompts.answers = {PromptAnswer::Cancel};
    Windows()[0]->close();
    SettleDeletions();
    ASSERT_EQ(Windows().size(), 1u);
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text, "Save changes to notes.tst?");
    EXPECT_EQ(prompts.Messages()[0].buttons, PromptButtons::YesNoCancel);
    EXPECT_EQ(Bytes(path), stored);
    EXPECT_TRUE(document->IsModified());

    // No closes the window and leaves the file as it was.
    prompts.answers = {PromptAnswer::No};
    Windows()[0]->close();
    SettleDeletions();
    EXPECT_TRUE(Windows().empty());
    EXPECT_EQ(Bytes(path), stored);
    for (const auto& docTemplate : app->DocTemplates()) EXPECT_TRUE(docTemplate->Documents().empty());
}

TEST_F(Documents, YesSavesBeforeTheWindowCloses) {
    QString path = WriteTextFile("notes.tst", "old");
    ASSERT_TRUE(Start({"-nosplash", path}));
    auto* document = dynamic_cast<TextDocument*>(Windows()[0]->View().GetDocument());
    document->text = "new";
    document->SetModifiedFlag();
    prompts.answers = {PromptAnswer::Yes};
    Frame().Commands().Execute(Command::FileClose);
    SettleDeletions();
    EXPECT_TRUE(Windows().empty());
    EXPECT_EQ(Bytes(path), std::string("\x03new"));
}

TEST_F(Documents, AnUnmodifiedDocumentClosesWithoutAsking) {
    QString path = WriteTextFile("notes.tst", "old");
    ASSERT_TRUE(Start({"-nosplash", path}));
    Frame().Commands().Execute(Command::FileClose);
    SettleDeletions();
    EXPECT_TRUE(Windows().empty());
    EXPECT_TRUE(prompts.prompts.empty());
}

TEST_F(Documents, SaveAsTakesTheNewNameForTitleAndRecentFiles) {
    QString path = WriteTextFile("notes.tst", "text");
    QString copy = folder.filePath("copy.tst");
    ASSERT_TRUE(Start({"-nosplash", path}));
    prompts.fileNames = {std::nullopt, copy};
    Frame().Commands().Execute(Command::FileSaveAs);  // cancelled: nothing written
    EXPECT_FALSE(QFileInfo::exists(copy));
    Frame().Commands().Execute(Command::FileSaveAs);

    EXPECT_EQ(Bytes(copy), Bytes(path));
    CDocument* document = Windows()[0]->View().GetDocument();
    EXPECT_EQ(document->GetPathName(), QFileInfo(copy).absoluteFilePath());
    EXPECT_EQ(Windows()[0]->windowTitle(), "copy.tst[*]");
    EXPECT_EQ(app->RecentFiles().Files().front(), QFileInfo(copy).absoluteFilePath());
    ASSERT_EQ(prompts.prompts.size(), 2u);
    EXPECT_EQ(prompts.prompts[1].kind, ScriptedPromptService::Kind::SaveFile);
    EXPECT_EQ(prompts.prompts[1].initialPath, QFileInfo(path).absoluteFilePath());
}

TEST_F(Documents, ANetworkDocumentSavesAndOpensAgainAndARefusedOneOpensNothing) {
    ASSERT_TRUE(Start());
    Frame().Commands().Execute(Command::FileNew);
    CDocument* document = Windows()[0]->View().GetDocument();
    document->SetModifiedFlag();
    QString target = folder.filePath("grid.pf");
    prompts.fileNames = {target};
    Frame().Commands().Execute(Command::FileSave);
    EXPECT_EQ(prompts.prompts[0].initialPath, "Untitled1.pf");
    EXPECT_TRUE(prompts.Messages().empty());
    const std::string saved = Bytes(target);
    EXPECT_EQ(saved.size(), 160u);  // an empty network
    EXPECT_EQ(saved.substr(0, 8), std::string("\x13\0\0\0\x03QMK", 8));
    EXPECT_FALSE(document->IsModified());
    EXPECT_EQ(document->GetTitle(), "grid.pf");

    // A name typed without an extension is saved as a network file.
    prompts.fileNames = {folder.filePath("moved")};
    Frame().Commands().Execute(Command::FileSaveAs);
    EXPECT_EQ(Bytes(folder.filePath("moved.pf")), saved);
    EXPECT_FALSE(QFileInfo::exists(folder.filePath("moved")));
    EXPECT_EQ(document->GetTitle(), "moved.pf");

    // A document of a version the program does not read opens nothing.
    QString old = folder.filePath("old.pf");
    std::string refused = saved;
    refused[0] = 12;
    std::ofstream(old.toStdString(), std::ios::binary) << refused;
    EXPECT_EQ(app->OpenDocumentFile(old), nullptr);
    EXPECT_EQ(Windows().size(), 1u);
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_TRUE(prompts.Messages()[0].text.startsWith("Failed to open document.\n"));
    EXPECT_TRUE(prompts.Messages()[0].text.endsWith("\nUnsupported file format or too old version number!"));
    // The message window names the file.
    const MessageList& log = Frame().Messages().Messages();
    EXPECT_EQ(log.At(log.Count() - 1).text, "old.pf: Unsupported file format or too old version number!");
    EXPECT_EQ(Bytes(old), refused);

    // The saved one opens in a window of its own.
    Frame().Commands().Execute(Command::FileClose);
    SettleDeletions();
    CDocument* reopened = app->OpenDocumentFile(target);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(Windows().size(), 1u);
    EXPECT_FALSE(reopened->IsModified());
}

TEST_F(Documents, ASecondViewSharesTheDocument) {
    QString path = WriteTextFile("notes.tst", "text");
    ASSERT_TRUE(Start({"-nosplash", path}));
    Frame().Commands().Execute(Command::WindowNew);
    ASSERT_EQ(Windows().size(), 2u);
    EXPECT_EQ(Windows()[0]->View().GetDocument(), Windows()[1]->View().GetDocument());
    EXPECT_EQ(Windows()[0]->windowTitle(), "notes.tst:1[*]");
    EXPECT_EQ(Windows()[1]->windowTitle(), "notes.tst:2[*]");

    // Closing one of two views asks nothing, even when modified.
    Windows()[0]->View().GetDocument()->SetModifiedFlag();
    Windows()[1]->close();
    SettleDeletions();
    ASSERT_EQ(Windows().size(), 1u);
    EXPECT_TRUE(prompts.prompts.empty());
    EXPECT_EQ(Windows()[0]->windowTitle(), "notes.tst[*]");
}

TEST_F(Documents, TheRecentFileListKeepsTheLastFiveNewestFirst) {
    ASSERT_TRUE(Start());
    QStringList paths;
    for (int i = 0; i < 6; ++i) {
        paths.append(WriteTextFile(QStringLiteral("n%1.tst").arg(i), "x"));
        ASSERT_NE(app->OpenDocumentFile(paths.back()), nullptr);
    }
    const QStringList files = app->RecentFiles().Files();
    app->OpenDocumentFile(paths[2]);  // already open: only brought forward
    EXPECT_EQ(app->RecentFiles().Files(), files);
    ASSERT_EQ(files.size(), 5);
    EXPECT_EQ(files.front(), QFileInfo(paths[5]).absoluteFilePath());
    EXPECT_FALSE(files.contains(QFileInfo(paths[0]).absoluteFilePath()));

    // The list outlives the run, and a file that is gone leaves it when
    // the user picks it.
    app.reset();
    SettleDeletions();
    QFile::remove(paths[5]);
    ASSERT_TRUE(Start());
    EXPECT_EQ(app->RecentFiles().Files(), files);
    EXPECT_TRUE(Frame().Commands().StateOf(Command::FileRecent1 + 4).enabled);
    Frame().Commands().Execute(Command::FileRecent1);
    EXPECT_EQ(app->RecentFiles().Files().size(), 4);
    EXPECT_FALSE(Frame().Commands().StateOf(Command::FileRecent1 + 4).enabled);
    Frame().Commands().Execute(Command::FileRecent1);
    EXPECT_EQ(Windows().size(), 1u);
}

}  // namespace
