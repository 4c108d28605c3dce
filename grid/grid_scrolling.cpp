// Scrolling by line, page, the ends, the thumb and the wheel, and bringing
// a cell into view. Line steps move by whole rows and columns, so that the
// positions they reach fall on cell boundaries.

#include <algorithm>

#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>

#include "grid_ctrl.h"
#include "grid_scroll_axis.h"

namespace {

// One wheel notch.
constexpr int kWheelDelta = 120;

QScrollBar* BarOf(const CGridCtrl& grid, Qt::Orientation bar) {
    return bar == Qt::Vertical ? grid.verticalScrollBar() : grid.horizontalScrollBar();
}

}  // namespace

int CGridCtrl::ScrollAxis::PositionShowing(int target, int position) const {
    int maxPosition = bar->maximum();
    int first = FirstShown(position);
    // Kept in step with `first`: the sizes of the non-fixed entries before
    // it and before the target.
    int firstOffset = Span(fixedCount, first);
    int targetOffset = Span(fixedCount, target);
    auto step = [&](int to) {
        to = std::clamp(to, 0, maxPosition);
        if (to == position) return false;
        position = to;
        while (first < Count() - 1 && firstOffset < position) firstOffset += Size(first++);
        while (first > fixedCount && firstOffset - Size(first - 1) >= position) firstOffset -= Size(--first);
        return true;
    };
    auto lineUp = [&] {
        int previous = first - 1;
        while (previous >= fixedCount && Size(previous) == 0) --previous;
        return position > 0 && previous >= fixedCount && step(position - Size(previous));
    };
    auto lineDown = [&] {
        int shown = first;
        while (shown < Count() && Size(shown) == 0) ++shown;
        return position < largest && shown < Count() && step(position + Size(shown));
    };
    auto start = [&] { return fixedExtent + targetOffset - firstOffset; };

    while (target < first && lineUp()) {
    }
    while (target >= first && start() >= clientExtent && lineDown()) {
    }
    // Still cut off at the far edge: on while the fixed cells leave room.
    while (start() + Size(target) - 1 > clientExtent && start() > fixedExtent && lineDown()) {
    }
    return position;
}

int CGridCtrl::GetScrollPos32(Qt::Orientation bar) const { return BarOf(*this, bar)->value(); }

bool CGridCtrl::SetScrollPos32(Qt::Orientation bar, int position) {
    QScrollBar* scrollBar = BarOf(*this, bar);
    int before = scrollBar->value();
    scrollBar->setValue(position);
    return scrollBar->value() != before;
}

void CGridCtrl::OnVScroll(GridScroll code, int trackPosition) { OnScroll(Qt::Vertical, code, trackPosition); }

void CGridCtrl::OnHScroll(GridScroll code, int trackPosition) { OnScroll(Qt::Horizontal, code, trackPosition); }

void CGridCtrl::OnScroll(Qt::Orientation bar, GridScroll code, int trackPosition) {
    // An edit or a tip would stay where its cell was.
    EndEditing();
    HideTitleTip();
    ScrollAxis axis = Axis(bar);
    int position = GetScrollPos32(bar);
    int first = bar == Qt::Vertical ? GetTopLeftNonFixedCell().row : GetTopLeftNonFixedCell().col;
    int page = axis.clientExtent - axis.fixedExtent;
    switch (code) {
    case GridScroll::LineUp: {
        int previous = first - 1;
        while (previous >= axis.fixedCount && axis.Size(previous) == 0) --previous;
        if (position > 0 && previous >= axis.fixedCount) {
            SetScrollPos32(bar, std::max(0, position - axis.Size(previous)));
        }
        break;
    }
    case GridScroll::LineDown: {
        int shown = first;
        while (shown < axis.Count() && axis.Size(shown) == 0) ++shown;
        if (position < axis.largest && shown < axis.Count()) SetScrollPos32(bar, position + axis.Size(shown));
        break;
    }
    case GridScroll::PageUp: SetScrollPos32(bar, std::max(0, position - page)); break;
    case GridScroll::PageDown: SetScrollPos32(bar, std::min(axis.bar->maximum(), position + page)); break;
    case GridScroll::Top: SetScrollPos32(bar, 0); break;
    case GridScroll::Bottom: SetScrollPos32(bar, axis.largest); break;
    case GridScroll::ThumbPosition:
    case GridScroll::ThumbTrack: SetScrollPos32(bar, trackPosition); break;
    case GridScroll::EndScroll: break;
    }
}

void CGridCtrl::OnScrollBarAction(Qt::Orientation bar, int action) {
    GridScroll code = GridScroll::EndScroll;
    switch (static_cast<QAbstractSlider::SliderAction>(action)) {
    case QAbstractSlider::SliderSingleStepSub: code = GridScroll::LineUp; break;
    case QAbstractSlider::SliderSingleStepAdd: code = GridScroll::LineDown; break;
    case QAbstractSlider::SliderPageStepSub: code = GridScroll::PageUp; break;
    case QAbstractSlider::SliderPageStepAdd: code = GridScroll::PageDown; break;
    case QAbstractSlider::SliderToMinimum: code = GridScroll::Top; break;
    case QAbstractSlider::SliderToMaximum: code = GridScroll::Bottom; break;
    case QAbstractSlider::SliderMove: code = GridScroll::ThumbTrack; break;
    case QAbstractSlider::SliderNoAction: return;
    }
    // The bar has already moved its slider by its own step, and takes the
    // slider's place as its value once this returns: the slider goes back
    // so that only the grid's own step counts.
    QScrollBar* scrollBar = BarOf(*this, bar);
    int track = scrollBar->sliderPosition();
    scrollBar->setSliderPosition(scrollBar->value());
    OnScroll(bar, code, track);
}

void CGridCtrl::scrollContentsBy(int, int) {
    topLeftCell_ = CCellID{};
    if (allowDraw_) viewport()->update();
}

void CGridCtrl::OnMouseWheel(int delta) {
    if (wheelScrollLines_ == -1) {
        GridScroll code = delta > 0 ? GridScroll::PageUp : GridScroll::PageDown;
        for (int pages = std::abs(delta) / kWheelDelta; pages > 0; --pages) OnVScroll(code);
        return;
    }
    int lines = wheelScrollLines_ * delta / kWheelDelta;
    GridScroll code = lines > 0 ? GridScroll::LineUp : GridScroll::LineDown;
    for (int count = std::abs(lines); count > 0; --count) OnVScroll(code);
}

void CGridCtrl::wheelEvent(QWheelEvent* event) {
    OnMouseWheel(event->angleDelta().y());
    event->accept();
}

void CGridCtrl::EnsureCellVisible(int row, int col) {
    if (!ValidCell(row, col)) return;
    // Each direction goes straight to where line steps would stop.
    if (col >= fixedCols_) {
        SetScrollPos32(Qt::Horizontal, Axis(Qt::Horizontal).PositionShowing(col, GetScrollPos32(Qt::Horizontal)));
    }
    if (row >= fixedRows_) {
        SetScrollPos32(Qt::Vertical, Axis(Qt::Vertical).PositionShowing(row, GetScrollPos32(Qt::Vertical)));
    }
}
