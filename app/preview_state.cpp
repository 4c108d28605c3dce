#include "preview_state.h"

#include <algorithm>

namespace {

// Past these the page numbers do not fit the scroll bar's old 16-bit
// range, and the bar is hidden.
constexpr int kScrollablePages = 0x8000;
constexpr int kScrollableSpan = 0x7FFF;

}  // namespace

bool PreviewState::skipNextWheelStep_ = false;

PreviewState::PreviewState(int firstPage, int lastPage, int currentPage, int& defaultPages, int mostPages,
                           int openingPages)
    : firstPage_(firstPage),
      lastPage_(std::max(lastPage, firstPage)),
      currentPage_(std::clamp(currentPage, firstPage_, lastPage_)),
      defaultPages_(defaultPages),
      mostPages_(std::clamp(mostPages, 1, kMostPages)),
      pagesShown_(std::clamp(openingPages != 0 ? openingPages : defaultPages, 1, mostPages_)),
      zoomedOutPages_(pagesShown_) {}

int PreviewState::PagesOnShow() const { return std::min(pagesShown_, lastPage_ - currentPage_ + 1); }

bool PreviewState::CanTogglePages() const {
    return !Zoomed() && mostPages_ != 1 && (lastPage_ >= 2 || pagesShown_ >= 2);
}

void PreviewState::NextPage() {
    if (CanGoNext()) ++currentPage_;
}

void PreviewState::PreviousPage() {
    if (CanGoPrevious()) --currentPage_;
}

void PreviewState::GoToPage(int page) { currentPage_ = std::clamp(page, firstPage_, lastPage_); }

void PreviewState::TogglePages() {
    if (!CanTogglePages()) return;
    pagesShown_ = 3 - pagesShown_;
    defaultPages_ = pagesShown_;
    zoomedOutPages_ = pagesShown_;
    AdjustCurrentPage();
}

void PreviewState::ZoomIn() {
    if (zoom_ == PreviewZoom::Out) {
        SetZoom(PreviewZoom::Middle);
    } else if (zoom_ == PreviewZoom::Middle) {
        SetZoom(PreviewZoom::In);
    }
}

void PreviewState::ZoomOut() {
    if (currentPage_ > SpreadLimit() && currentPage_ > 1 && zoom_ == PreviewZoom::Middle) --currentPage_;
    if (zoom_ == PreviewZoom::In) {
        SetZoom(PreviewZoom::Middle);
    } else if (zoom_ == PreviewZoom::Middle) {
        SetZoom(PreviewZoom::Out);
    }
}

void PreviewState::ClickPage(int place) {
    if (place < 0 || place >= PagesOnShow()) return;
    currentPage_ += place;
    SetZoom(zoom_ == PreviewZoom::In ? PreviewZoom::Out : static_cast<PreviewZoom>(static_cast<int>(zoom_) + 1));
    if (!Zoomed()) AdjustCurrentPage();
}

int PreviewState::Wheel(int delta) {
    if (Zoomed()) return delta;
    if (skipNextWheelStep_) {
        skipNextWheelStep_ = false;
        return 0;
    }
    if (delta > 0 && currentPage_ > 1) {
        --currentPage_;
    } else if (delta < 0 && currentPage_ < LastStartPage()) {
        ++currentPage_;
    }
    skipNextWheelStep_ = true;
    return 0;
}

PageScrollBar PreviewState::ScrollBar() const {
    PageScrollBar bar;
    if (lastPage_ >= kScrollablePages || lastPage_ - firstPage_ > kScrollableSpan) return bar;
    bar.shown = true;
    bar.minimum = firstPage_;
    bar.maximum = std::max(firstPage_, LastStartPage());
    bar.value = currentPage_;
    return bar;
}

void PreviewState::AdjustCurrentPage() {
    if (currentPage_ > SpreadLimit() && currentPage_ > 1) --currentPage_;
}

void PreviewState::SetZoom(PreviewZoom zoom) {
    zoom_ = zoom;
    // Zoomed, one page fills the window; zoomed out, the spread comes back.
    pagesShown_ = Zoomed() ? 1 : zoomedOutPages_;
}
