#pragma once

#include <initializer_list>
#include <memory>
#include <vector>

#include <QImage>
#include <QProcess>
#include <QSize>
#include <QStringList>

#include "counting_report.h"
#include "finans_view.h"
#include "scroll_client.h"
#include "shell_fixture.h"

// What pdfinfo says of the file: its page count and the size of page 1 in
// points, rounded.
struct PdfFacts {
    int pages = 0;
    QSize pageSize;
};

inline PdfFacts ReadPdf(const QString& path) {
    QProcess pdfinfo;
    pdfinfo.start("pdfinfo", {path});
    EXPECT_TRUE(pdfinfo.waitForFinished(30000));
    PdfFacts facts;
    for (const QString& line : QString::fromUtf8(pdfinfo.readAllStandardOutput()).split('\n')) {
        QStringList words = line.simplified().split(' ');
        if (words.size() >= 2 && words[0] == "Pages:") facts.pages = words[1].toInt();
        if (words.size() >= 5 && words[0] == "Page" && words[1] == "size:") {
            facts.pageSize = QSize(qRound(words[2].toDouble()), qRound(words[4].toDouble()));
        }
    }
    return facts;
}

// A program with one report window open on a counting report.
class ReportWindowTest : public ShellTest {
protected:
    // The reports opened, the last one in the active window.
    std::vector<std::unique_ptr<CountingReport>> reports;

    // Starts the program the first time.
    CountingReport& Open(int pages, int pageType = 2) {
        if (!app) {
            EXPECT_TRUE(Start());
        }
        auto& report = *reports.emplace_back(std::make_unique<CountingReport>(pages, pageType));
        app->OpenResultsDocument(&report);
        return report;
    }

    CFinansView& View() { return dynamic_cast<CFinansView&>(Windows().back()->View()); }

    // Sizes the window so that its client area (the scroll bars left out)
    // is `width` x `height`.
    void SizeClient(int width, int height) {
        QWidget& frame = *Windows().back();
        for (int i = 0; i < 3; ++i) {
            Size client = View().Client().ClientSize();
            frame.resize(frame.width() + width - client.cx, frame.height() + height - client.cy);
        }
    }

    bool Enabled(int id) { return Frame().Commands().StateOf(id).enabled; }
    std::vector<bool> Enabled(std::initializer_list<int> ids) {
        std::vector<bool> states;
        for (int id : ids) states.push_back(Enabled(id));
        return states;
    }
    void Execute(int id) { Frame().Commands().Execute(id); }

    // The client area as it is painted.
    QImage Grab() { return View().Client().viewport()->grab().toImage(); }

    void TearDown() override {
        ShellTest::TearDown();
        reports.clear();
    }
};
