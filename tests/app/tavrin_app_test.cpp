#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTest>

#include "command_line.h"

#include "command_ids.h"
#include "decimal_comma_locale.h"
#include "shell_fixture.h"
#include "splash_window.h"
#include "tavrin_doc.h"
#include "tavrin_view.h"

namespace {

using StartUp = ShellTest;

TEST_F(StartUp, APlainStartHasAMainFrameAndNoDocumentWindow) {
    ASSERT_TRUE(Start({}));
    ASSERT_NE(app->MainFrame(), nullptr);
    EXPECT_TRUE(Frame().isVisible());
    EXPECT_TRUE(Windows().empty());
    EXPECT_NE(app->Splash(), nullptr);  // asked for by default
    EXPECT_TRUE(prompts.prompts.empty());
}

TEST_F(StartUp, MakesTheMissingResultsDatabaseAndReadsItsColourMaps) {
    ASSERT_TRUE(Start());
    EXPECT_TRUE(QFileInfo::exists(DatabasePath()));
    EXPECT_GT(app->NominalVoltageMap().GetCount(), 0);
    EXPECT_GT(app->BusVoltageMap().GetCount(), 0);
    EXPECT_GT(app->LoadingMap().GetCount(), 0);
    EXPECT_TRUE(prompts.prompts.empty());
}

TEST_F(StartUp, RunsOnWithoutColourMapsWhenTheDatabaseCannotBeOpened) {
    {
        std::ofstream out(DatabasePath().toStdString(), std::ios::binary);
        out << "not a database, and long enough to be read as a header of one: "
            << std::string(200, 'x');
    }
    ASSERT_TRUE(Start());
    EXPECT_NE(app->MainFrame(), nullptr);
    EXPECT_EQ(app->NominalVoltageMap().GetCount(), 0);
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text, "Cannot open Results database!");
}

TEST_F(StartUp, AFileOnTheCommandLineOpensExactlyOneWindow) {
    QString path = WriteTextFile("notes.tst", "Bus 1");
    ASSERT_TRUE(Start({"-nosplash", path}));
    ASSERT_EQ(Windows().size(), 1u);
    auto* document = dynamic_cast<TextDocument*>(Windows()[0]->View().GetDocument());
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->text, "Bus 1");
    EXPECT_EQ(document->GetTitle(), "notes.tst");
    EXPECT_FALSE(document->IsModified());

    // Opening it again shows the window it already has.
    EXPECT_EQ(app->OpenDocumentFile(path), document);
    EXPECT_EQ(Windows().size(), 1u);
    EXPECT_EQ(app->RecentFiles().Files(), QStringList{QFileInfo(path).absoluteFilePath()});
}

TEST_F(StartUp, AFileThatCannotBeOpenedIsReportedAndTheProgramRunsOn) {
    struct Case {
        QString name;
        std::string bytes;
        QString reason;  // the last line of the message, when it is the program's own
    };
    const std::string network = Bytes(TEST_DATA_DIR "/every_kind.pf");
    ASSERT_FALSE(network.empty());
    const Case cases[] = {
        {"missing.tst", "", ""},          // no such file
        {"cut.tst", "\x05" "ab", ""},     // a string cut short
        {"network.pf", "\x05" "ab", ""},  // a network document cut short
        // A document with an extension of no document kind is not read.
        {"network.txt", network, "The program does not open files of this type."},
        {"network", network, "The program does not open files of this type."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        QString path = folder.filePath(c.name);
        if (!c.bytes.empty()) std::ofstream(path.toStdString(), std::ios::binary) << c.bytes;
        prompts.prompts.clear();
        EXPECT_TRUE(Start({"-nosplash", path}));
        EXPECT_TRUE(Frame().isVisible());
        EXPECT_TRUE(Windows().empty());
        ASSERT_EQ(prompts.Messages().size(), 1u);
        const QString text = prompts.Messages()[0].text;
        EXPECT_TRUE(text.startsWith("Failed to open document.\n" + QDir::toNativeSeparators(path) + "\n")) << text.toStdString();
        if (!c.reason.isEmpty()) {
            EXPECT_TRUE(text.endsWith("\n" + c.reason)) << text.toStdString();
        }
        EXPECT_EQ(prompts.Messages()[0].icon, PromptIcon::Error);
        app.reset();
        SettleDeletions();
    }
}

TEST_F(StartUp, NumbersAreWrittenWithAPointUnderADecimalCommaLocale) {
    DecimalCommaLocale comma;
    if (!comma.Active()) GTEST_SKIP() << "no decimal-comma locale on this machine";
    ASSERT_TRUE(Start());
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", 1.25);
    EXPECT_STREQ(text, "1.25");
    EXPECT_EQ(std::strtod("2.5", nullptr), 2.5);
}

TEST_F(StartUp, AKeyPressedDuringTheSplashOnlyClosesIt) {
    ASSERT_TRUE(Start({}));
    ASSERT_NE(app->Splash(), nullptr);
    QTest::keyClick(&Frame(), Qt::Key_N, Qt::ControlModifier);
    SettleDeletions();
    EXPECT_EQ(app->Splash(), nullptr);
    EXPECT_TRUE(Windows().empty());  // the key did not reach File New

    QTest::keyClick(&Frame(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(Windows().size(), 1u);
}

TEST_F(StartUp, AClickDuringTheSplashOnlyClosesIt) {
    ASSERT_TRUE(Start({}));
    ASSERT_NE(app->Splash(), nullptr);
    QTest::mouseClick(&Frame().MdiArea(), Qt::LeftButton);
    SettleDeletions();
    EXPECT_EQ(app->Splash(), nullptr);
}

TEST_F(StartUp, TheSplashGoesByItselfAndOnlyWhenAskedFor) {
    ASSERT_TRUE(Start({"-NoSplash"}));
    EXPECT_EQ(app->Splash(), nullptr);
    app.reset();

    ASSERT_TRUE(Start({}));
    ASSERT_NE(app->Splash(), nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(app->Splash() == nullptr, 5000);
}

TEST(CommandLine, TheFirstArgumentThatIsNoSwitchIsTheDocument) {
    struct Case {
        QStringList arguments;
        QString file;
        bool splash;
    };
    const Case cases[] = {
        {{}, "", true},
        {{"grid.pf"}, "grid.pf", true},
        {{"-nosplash"}, "", false},
        {{"-NOSPLASH", "/home/grid.pf"}, "/home/grid.pf", false},
        {{"-unknown", "a.pf", "b.pf"}, "a.pf", true},
        {{"-"}, "-", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        CommandLineInfo info = CommandLineInfo::Parse(c.arguments);
        EXPECT_EQ(info.fileName, c.file);
        EXPECT_EQ(info.showSplash, c.splash);
    }
}

using ApplicationCommands = ShellTest;

TEST_F(ApplicationCommands, NewMakesUntitledNetworkDocuments) {
    // Documents opened from files take no number.
    ASSERT_TRUE(Start({"-nosplash", WriteTextFile("notes.tst", "x")}));
    Frame().Commands().Execute(Command::FileClose);
    SettleDeletions();
    ASSERT_TRUE(Frame().Commands().Execute(Command::FileNew));
    ASSERT_TRUE(Frame().Commands().Execute(Command::FileNew));
    ASSERT_EQ(Windows().size(), 2u);
    EXPECT_NE(dynamic_cast<CTavrinDoc*>(Windows()[0]->View().GetDocument()), nullptr);
    EXPECT_NE(dynamic_cast<CTavrinView*>(&Windows()[1]->View()), nullptr);
    EXPECT_EQ(Windows()[0]->windowTitle(), "Untitled1[*]");
    EXPECT_EQ(Windows()[1]->windowTitle(), "Untitled2[*]");
}

TEST_F(ApplicationCommands, OpenAsksForAFileAmongTheDocumentKinds) {
    QString path = WriteTextFile("notes.tst", "x");
    ASSERT_TRUE(Start());
    prompts.fileNames = {std::nullopt, path};
    Frame().Commands().Execute(Command::FileOpen);  // cancelled
    EXPECT_TRUE(Windows().empty());
    Frame().Commands().Execute(Command::FileOpen);
    EXPECT_EQ(Windows().size(), 1u);

    ASSERT_EQ(prompts.prompts.size(), 2u);
    const auto& dialog = prompts.prompts[0];
    EXPECT_EQ(dialog.kind, ScriptedPromptService::Kind::OpenFile);
    ASSERT_EQ(dialog.filters.size(), 3u);
    EXPECT_EQ(dialog.filters[0].description, "PF Files (*.pf)");
    EXPECT_EQ(dialog.filters[0].patterns, "*.pf");
    EXPECT_EQ(dialog.filters[1].description, "Text Files (*.tst)");
}

TEST_F(ApplicationCommands, AboutShowsTheProgramsVersion) {
    ASSERT_TRUE(Start());
    QString version;
    prompts.dialogScripts = {[&](QDialog& dialog) {
        for (QLabel* label : dialog.findChildren<QLabel*>()) version += label->text();
        dialog.setResult(QDialog::Accepted);
    }};
    Frame().Commands().Execute(Command::AppAbout);
    ASSERT_EQ(prompts.prompts.size(), 1u);
    EXPECT_EQ(prompts.prompts[0].caption, "About Quellmark");
    EXPECT_TRUE(version.contains("Quellmark, Version 1.8.5"));
}

TEST_F(ApplicationCommands, ExitAsksAboutModifiedDocumentsAndStaysOnCancel) {
    ASSERT_TRUE(Start());
    Frame().Commands().Execute(Command::FileNew);
    Windows()[0]->View().GetDocument()->SetModifiedFlag();
    prompts.answers = {PromptAnswer::Cancel, PromptAnswer::No};
    Frame().Commands().Execute(Command::AppExit);
    EXPECT_TRUE(Frame().isVisible());
    Frame().Commands().Execute(Command::AppExit);
    EXPECT_FALSE(Frame().isVisible());
    EXPECT_EQ(prompts.Messages().size(), 2u);
}

}  // namespace
