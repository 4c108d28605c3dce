#pragma once

#include <memory>
#include <vector>

#include "print_job.h"
#include "recorded_picture.h"
#include "view_base.h"

class CFinansDoc;
class CTavrinApp;
class IDBReport;
class QPainter;
class ScrollClient;

// The window of a results document: one page of the report at a time on a
// grey desk, one report unit to a pixel. It pages and scrolls by the
// commands of the "View" menu, jumps to a page, prints every page on its
// own sheet, previews the printing and saves the report as a printer-ready
// text file.
class CFinansView : public CView, public IPrintableView {
public:
    static constexpr int kMargin = 10;  // pixels of desk around the page

    // The application is borrowed: its prompts and its printer.
    CFinansView(CFinansDoc& document, CTavrinApp& app);
    ~CFinansView() override;

    CFinansDoc* GetDocument() const;
    // The page shown, from 1.
    int CurrentPage() const { return currentPage_; }
    // The scrolling client area the desk and the page are drawn in.
    ScrollClient& Client() const { return *client_; }

    // Takes the report's title and page size and renders the current page.
    void OnInitialUpdate() override;
    std::vector<KeyBinding> WindowKeys() const override;

    // The pages of the report as the print range; the printer's paper as
    // the report's orientation; a preview opens on the page shown.
    bool OnPreparePrinting(CPrintInfo& info) override;
    // The page of the print information, rendered into a picture of its own
    // and stretched over the drawing rectangle; the page shown stays.
    void OnPrint(QPainter& painter, const CPrintInfo& info) override;

private:
    IDBReport* Report() const;
    int PageCount() const;
    void RegisterCommands();
    void RegisterPageCommands();
    void RegisterScrollCommands();
    // Renders the current page in place of the one shown, and repaints.
    void ShowPage();
    void TurnTo(int page);
    void OnDraw(QPainter& painter, const QRect& exposed);
    void OnGoToPage();
    void OnFileSave();

    CTavrinApp& app_;
    ScrollClient* client_;
    Size pageSize_{1160, 845};
    int currentPage_ = 1;
    std::unique_ptr<RecordedPicture> page_;
};
