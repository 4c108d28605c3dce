#pragma once

// How far a print preview is zoomed: the page or pages fitting the window,
// the page at its actual size on the screen, and halfway between.
enum class PreviewZoom { Out = 0, Middle = 1, In = 2 };

// Where the page-range scroll bar of a zoomed-out preview stands.
struct PageScrollBar {
    bool shown = false;
    int minimum = 0;
    int maximum = 0;
    int pageStep = 1;
    int value = 0;
};

// What a print preview shows and how its commands change it, without a
// window: the pages shown at once (one or two; always one while zoomed),
// the zoom, the current page (the first one shown) and the buttons' rules.
class PreviewState {
public:
    static constexpr int kMostPages = 2;

    // The pages run from `firstPage` to `lastPage`; the preview opens on
    // `currentPage`. `defaultPages` is the application's number of pages
    // shown at once, borrowed: a toggle leaves its choice there for the
    // previews that come later. `mostPages` (1 or 2) is how many pages the
    // window can show at once. `openingPages`, when not 0, is shown at
    // first instead of the default.
    PreviewState(int firstPage, int lastPage, int currentPage, int& defaultPages, int mostPages = kMostPages,
                 int openingPages = 0);

    int FirstPage() const { return firstPage_; }
    int LastPage() const { return lastPage_; }
    int CurrentPage() const { return currentPage_; }
    int PagesShown() const { return pagesShown_; }
    PreviewZoom Zoom() const { return zoom_; }
    bool Zoomed() const { return zoom_ != PreviewZoom::Out; }
    // The pages actually drawn: fewer than the places at the end of the
    // document.
    int PagesOnShow() const;

    // The last page that can be the first one shown.
    int LastStartPage() const { return lastPage_ - pagesShown_ + 1; }
    // Beyond this the current page steps back after a change of spread.
    int SpreadLimit() const { return mostPages_ - pagesShown_ + 1; }

    // The pages the one/two-page button speaks of: those shown when zoomed
    // out.
    int SpreadPages() const { return Zoomed() ? zoomedOutPages_ : pagesShown_; }
    bool CanTogglePages() const;
    bool CanGoNext() const { return currentPage_ + pagesShown_ - 1 < lastPage_; }
    bool CanGoPrevious() const { return currentPage_ > firstPage_; }
    bool CanZoomIn() const { return zoom_ != PreviewZoom::In; }
    bool CanZoomOut() const { return Zoomed(); }

    void NextPage();
    void PreviousPage();
    // From the page-range scroll bar.
    void GoToPage(int page);
    void TogglePages();
    void ZoomIn();
    void ZoomOut();
    // A click on the page shown at `place` (0 the left one, 1 the right):
    // one step in, from fully in back out.
    void ClickPage(int place);
    // One wheel step: `delta` is +120 away from the user, -120 towards.
    // Zoomed, the answer is the pixels to add to the vertical scroll
    // position; else a page turns on every second step (the alternation
    // is shared by all previews) and the answer is 0.
    int Wheel(int delta);

    PageScrollBar ScrollBar() const;

private:
    void AdjustCurrentPage();
    void SetZoom(PreviewZoom zoom);

    int firstPage_;
    int lastPage_;
    int currentPage_;
    int& defaultPages_;
    int mostPages_;
    int pagesShown_;
    int zoomedOutPages_;
    PreviewZoom zoom_ = PreviewZoom::Out;
    static bool skipNextWheelStep_;
};
