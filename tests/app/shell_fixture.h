#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include <QCoreApplication>
#include <QEventLoop>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTimer>

#include "archive.h"
#include "archive_file.h"
#include "child_frame.h"
#include "main_frame.h"
#include "scripted_prompt_service.h"
#include "tavrin_app.h"
#include "text_document.h"

// A program started in a test: its settings in a folder of its own, its
// prompts scripted, the text document kind registered beside the
// program's own.
class ShellTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    ScriptedPromptService prompts;
    std::unique_ptr<CTavrinApp> app;

    QString ProfilePath() const { return folder.filePath("tavrin.ini"); }

    // Without "-nosplash" in the arguments the splash is shown.
    bool Start(const QStringList& arguments = {"-nosplash"}) {
        app = std::make_unique<CTavrinApp>(prompts, ProfilePath());
        app->AddDocTemplate(TextDocument::Template());
        return app->InitInstance(arguments);
    }

    void TearDown() override {
        app.reset();
        SettleDeletions();
    }

    CMainFrame& Frame() { return *app->MainFrame(); }
    std::vector<CChildFrame*> Windows() { return Frame().ChildFrames(); }

    // Windows closed with deleteLater are gone after this.
    static void SettleDeletions() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    // Lets the event loop wait once, as the program does when idle.
    static void Idle() {
        QEventLoop loop;
        QTimer::singleShot(1, &loop, &QEventLoop::quit);
        loop.exec();
    }

    // A ".tst" file holding the text, as the archive stores it.
    QString WriteTextFile(const QString& name, const std::string& text) {
        QString path = folder.filePath(name);
        Archive archive = Archive::ForStoring();
        archive.WriteString(text);
        SaveArchiveFile(archive, path.toStdString());
        return path;
    }

    static std::string Bytes(const QString& path) {
        std::ifstream in(path.toStdString(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};
