#pragma once

#include <functional>
#include <map>
#include <optional>

#include <QAbstractScrollArea>
#include <QImage>
#include <QPageLayout>

#include "preview_state.h"
#include "print_job.h"

// The desk of a print preview: the sheets of paper of the pages shown,
// side by side and scaled by the zoom. Zoomed out, the sheets fit the
// window and the vertical scroll bar runs over the page range; zoomed in,
// one sheet is larger than life or life size and the scroll bars pan over
// it. Each sheet is a picture of the paper's size in which the page
// routine draws the page over the printable area, kept until the scale
// changes.
class PreviewPages : public QAbstractScrollArea {
public:
    using PageRoutine = std::function<void(QPainter& painter, const CPrintInfo& info)>;
    static constexpr int kGap = 8;  // pixels of desk around and between sheets

    PreviewPages(const PreviewState& state, const QPageLayout& paper, PageRoutine drawPage, QWidget* parent = nullptr);

    // Pixels on the screen per point of paper in each zoom state.
    double Scale(PreviewZoom zoom) const;
    // Where the sheet at `place` (0 left, 1 right) lies in the viewport.
    QRect SheetRect(int place) const;
    // The place of the sheet under a viewport point, if any.
    std::optional<int> PlaceAt(QPoint point) const;
    // The picture of a page at the present scale.
    const QImage& Sheet(int page);

    // Follows the state after a change: scroll bars and a repaint.
    // `centre`, a point of the sheet as a fraction of its size, is put in
    // the middle of the window when zoomed.
    void Follow(std::optional<QPointF> centre = std::nullopt);
    // The page-range scroll bar moved to a page.
    std::function<void(int)> pageChosen;
    // A mouse wheel step (120 away from the user, -120 towards), summed
    // from the finer steps of the device.
    std::function<void(int)> wheelStep;
    // A press of the left button at a viewport point.
    std::function<void(QPoint)> clicked;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QSizeF PaperPoints() const;
    QSize SheetSize() const;
    void SetUpScrollBars();

    const PreviewState& state_;
    QPageLayout paper_;
    PageRoutine drawPage_;
    std::map<int, QImage> sheets_;  // by page, at sheetsSize_
    QSize sheetsSize_;
    int wheelRemainder_ = 0;
    bool settingUpBars_ = false;
};
