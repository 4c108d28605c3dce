#pragma once

#include <functional>

#include <QAbstractScrollArea>

#include "geometry.h"

class QPainter;

// The client area of a scrolling view: a content of a fixed total size in
// pixels, scroll bars shown when it does not fit, a line step of a hundredth
// of the total and a page step of the client's size. Its owner draws the
// content through `paint`: the painter's origin is the content's corner,
// scrolled with it, and the part to draw is in content coordinates.
class ScrollClient : public QAbstractScrollArea {
public:
    using Paint = std::function<void(QPainter& painter, const QRect& exposed)>;

    ScrollClient(Paint paint, QWidget* parent = nullptr);

    void SetTotalSize(Size total);
    Size TotalSize() const { return total_; }
    Size ClientSize() const;
    Point ScrollPosition() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateBars();

    Paint paint_;
    Size total_;
};
