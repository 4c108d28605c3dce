#include "preview_pages.h"

#include <algorithm>
#include <cmath>

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

namespace {

const QColor kDeskColour(128, 128, 128);
constexpr int kWheelStep = 120;  // angle delta of one notch, eighths of a degree
constexpr double kPointsPerInch = 72.0;
constexpr int kShadow = 3;  // pixels

}  // namespace

PreviewPages::PreviewPages(const PreviewState& state, const QPageLayout& paper, PageRoutine drawPage,
                           QWidget* parent)
    : QAbstractScrollArea(parent), state_(state), paper_(paper), drawPage_(std::move(drawPage)) {
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (!settingUpBars_ && !state_.Zoomed() && pageChosen) pageChosen(value);
    });
}

QSizeF PreviewPages::PaperPoints() const { return paper_.fullRectPoints().size(); }

double PreviewPages::Scale(PreviewZoom zoom) const {
    const QSizeF paper = PaperPoints();
    // Zoomed out the sheets shown side by side fit the window; zoomed,
    // the fit of the one sheet is the far end of the scale.
    const int places = zoom == PreviewZoom::Out ? state_.PagesShown() : 1;
    const double across = (viewport()->width() - (places + 1) * kGap - kShadow) / (places * paper.width());
    const double down = (viewport()->height() - 2 * kGap - kShadow) / paper.height();
    const double fit = std::max(0.01, std::min(across, down));
    const double actual = logicalDpiX() / kPointsPerInch;
    switch (zoom) {
    case PreviewZoom::Out:
        return fit;
    case PreviewZoom::Middle:
        return (fit + actual) / 2;
    case PreviewZoom::In:
        return actual;
    }
    return fit;
}

QSize PreviewPages::SheetSize() const {
    const double scale = Scale(state_.Zoom());
    const QSizeF paper = PaperPoints();
    return QSize(std::max(1, static_cast<int>(std::lround(paper.width() * scale))),
                 std::max(1, static_cast<int>(std::lround(paper.height() * scale))));
}

QRect PreviewPages::SheetRect(int place) const {
    const QSize sheet = SheetSize();
    const int places = state_.PagesShown();
    // The sheets together, centred on the desk when they are smaller.
    const int width = places * sheet.width() + (places + 1) * kGap;
    const int height = sheet.height() + 2 * kGap;
    int left = std::max(0, (viewport()->width() - width) / 2);
    int top = std::max(0, (viewport()->height() - height) / 2);
    // Zoomed out the vertical bar counts pages, not pixels.
    if (state_.Zoomed()) {
        left -= horizontalScrollBar()->value();
        top -= verticalScrollBar()->value();
    }
    return QRect(QPoint(left + kGap + place * (sheet.width() + kGap), top + kGap), sheet);
}

std::optional<int> PreviewPages::PlaceAt(QPoint point) const {
    for (int place = 0; place < state_.PagesOnShow(); ++place) {
        if (SheetRect(place).contains(point)) return place;
    }
    return std::nullopt;
}

const QImage& PreviewPages::Sheet(int page) {
    const QSize size = SheetSize();
    if (size != sheetsSize_) {
        sheets_.clear();
        sheetsSize_ = size;
    }
    auto found = sheets_.find(page);
    if (found != sheets_.end()) return found->second;
    // Only the sheets on show are kept.
    std::erase_if(sheets_, [this](const auto& kept) {
        return kept.first < state_.CurrentPage() || kept.first >= state_.CurrentPage() + state_.PagesShown();
    });
    QImage sheet(size, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    // The page goes over the printable area, as the printer places it.
    const QSizeF paper = PaperPoints();
    const QRectF printable = paper_.paintRectPoints();
    const double across = size.width() / paper.width();
    const double down = size.height() / paper.height();
    CPrintInfo info;
    info.preview = true;
    info.minPage = state_.FirstPage();
    info.maxPage = state_.LastPage();
    info.currentPage = page;
    info.drawRect = {static_cast<int>(std::lround(printable.left() * across)),
                     static_cast<int>(std::lround(printable.top() * down)),
                     static_cast<int>(std::lround(printable.right() * across)),
                     static_cast<int>(std::lround(printable.bottom() * down))};
    {
        QPainter painter(&sheet);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        if (drawPage_) drawPage_(painter, info);
    }
    return sheets_.emplace(page, std::move(sheet)).first->second;
}

void PreviewPages::Follow(std::optional<QPointF> centre) {
    SetUpScrollBars();
    if (centre && state_.Zoomed()) {
        const QSize sheet = SheetSize();
        horizontalScrollBar()->setValue(kGap + static_cast<int>(centre->x() * sheet.width()) - viewport()->width() / 2);
        verticalScrollBar()->setValue(kGap + static_cast<int>(centre->y() * sheet.height()) - viewport()->height() / 2);
    }
    viewport()->update();
}

void PreviewPages::SetUpScrollBars() {
    settingUpBars_ = true;
    QScrollBar* across = horizontalScrollBar();
    QScrollBar* down = verticalScrollBar();
    if (state_.Zoomed()) {
        // Panning over the one sheet and its desk, in pixels.
        const QSize total = SheetSize() + QSize(2 * kGap + kShadow, 2 * kGap + kShadow);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        across->setRange(0, std::max(0, total.width() - viewport()->width()));
        across->setPageStep(viewport()->width());
        across->setSingleStep(std::max(1, total.width() / 100));
        down->setRange(0, std::max(0, total.height() - viewport()->height()));
        down->setPageStep(viewport()->height());
        down->setSingleStep(std::max(1, total.height() / 100));
    } else {
        // One step of the bar per page, from the first page to the last
        // one that can lead the spread.
        const PageScrollBar bar = state_.ScrollBar();
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(bar.shown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        across->setRange(0, 0);
        down->setRange(bar.minimum, bar.maximum);
        down->setPageStep(bar.pageStep);
        down->setSingleStep(1);
        down->setValue(bar.value);
    }
    settingUpBars_ = false;
}

void PreviewPages::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), kDeskColour);
    for (int place = 0; place < state_.PagesShown(); ++place) {
        const QRect sheet = SheetRect(place);
        painter.fillRect(sheet.translated(kShadow, kShadow), Qt::black);
        if (place < state_.PagesOnShow()) {
            painter.drawImage(sheet.topLeft(), Sheet(state_.CurrentPage() + place));
        } else {
            painter.fillRect(sheet, Qt::white);  // a place past the last page
        }
        painter.setPen(Qt::black);
        painter.drawRect(sheet.adjusted(0, 0, -1, -1));
    }
}

void PreviewPages::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    SetUpScrollBars();
}

void PreviewPages::scrollContentsBy(int, int) { viewport()->update(); }

void PreviewPages::wheelEvent(QWheelEvent* event) {
    wheelRemainder_ += event->angleDelta().y();
    while (std::abs(wheelRemainder_) >= kWheelStep) {
        const int step = wheelRemainder_ > 0 ? kWheelStep : -kWheelStep;
        wheelRemainder_ -= step;
        if (wheelStep) wheelStep(step);
    }
    event->accept();
}

void PreviewPages::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && clicked) clicked(event->position().toPoint());
    event->accept();
}
