#pragma once

#include <array>
#include <functional>

#include <QPageLayout>
#include <QWidget>

#include "preview_state.h"
#include "print_job.h"

class CMappedBitmapButton;
class QAbstractButton;
class PreviewPages;
class QPushButton;

// The buttons of the preview's tool bar, left to right.
enum class PreviewButton { Print, NextPage, PreviousPage, OnePageTwoPages, ZoomIn, ZoomOut, Close };

// A print preview: the pages as they will print, one or two at a time, on
// sheets of the printer's paper, with its tool bar over them. Each page is
// drawn by the page routine of the view that prints it; the preview knows
// nothing else of the document. While it is open it stands in the view's
// place in its window (see CChildFrame::ShowInPlaceOfView).
class ReportPreview : public QWidget {
public:
    // Draws page info.currentPage into info.drawRect.
    using PageRoutine = std::function<void(QPainter& painter, const CPrintInfo& info)>;

    // What the preview borrows from the program.
    struct Services {
        // The number of pages shown at once that a preview opens with; a
        // toggle leaves its choice there.
        int& defaultPages;
        std::function<void(const QString&)> showStatus;
        // Puts the view back; the preview goes after its own event.
        std::function<void()> close;
        // Prints the document, after the preview is closed.
        std::function<void()> print;
    };

    // The pages run from info.minPage to info.maxPage; the preview opens
    // on info.currentPage. `paper` is the printer's sheet and its
    // printable area.
    ReportPreview(const CPrintInfo& info, const QPageLayout& paper, PageRoutine drawPage, Services services,
                  QWidget* parent = nullptr);
    ~ReportPreview() override;

    const PreviewState& State() const { return state_; }
    // The tool bar's buttons; all but Close are bitmap buttons.
    QAbstractButton& Button(PreviewButton which) const;
    // The page description the status bar shows: "Page 2", "Pages 2-3".
    QString StatusText() const;
    PreviewPages& Pages() const { return *pages_; }

    void TogglePages();
    void ZoomIn();
    void ZoomOut();
    // One wheel step of 120 (away from the user) or -120.
    void WheelStep(int delta);
    // A click at `point` of the pages' viewport.
    void Click(QPoint point);
    void GoToPage(int page);
    void NextPage();
    void PreviousPage();
    // Gives the window back to the view.
    void Close();

private:
    void CreateToolBar();
    // Buttons, page-range scroll bar, pages and status after every change.
    void Refresh();
    void UpdateOnePageTwoPagesButton();

    PreviewState state_;
    Services services_;
    PreviewPages* pages_;
    std::array<CMappedBitmapButton*, 6> bitmapButtons_{};
    QPushButton* closeButton_ = nullptr;
    bool iconForTwoPages_ = false;  // the button offers one page
};
