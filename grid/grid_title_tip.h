#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

#include "color.h"
#include "drawing_records.h"
#include "geometry.h"

// A tool-tip window that shows the whole text of a grid cell whose text does
// not fit, drawn over the cell itself. It never takes the focus and is
// transparent for input, so that clicks, keys and moves reach the grid
// underneath as if the tip were not there; the grid hides it.
class CTitleTip : public QWidget {
public:
    // `parent` is the window whose coordinates Show takes (the grid's
    // viewport).
    explicit CTitleTip(QWidget* parent);

    // Shows `text` over `rect` (the parent's pixels, right and bottom edges
    // the last ones) when " text " does not fit there: at the rectangle's
    // top-left corner moved right by `xOffset`, as high as the rectangle.
    // The hover rectangle (default `rect`) is where the mouse may move
    // without hiding the tip. Nothing for an empty rectangle, while the tip
    // is shown, or while no window of the application has the focus.
    // Colours of kAutomaticColor are the tool-tip colours; a null font is
    // the parent's. True when the tip is shown.
    bool Show(const Rect& rect, const QString& text, int xOffset, const Rect* hover, const LogFont* font,
              ColorRef textColour, ColorRef backColour);
    void Hide();
    // Whether a point of the parent lies where the tip stays.
    bool HoverContains(QPoint point) const { return hoverRect_.contains(point); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* parent_;
    QRect hoverRect_;
    QString text_;
    QFont font_;
    QColor textColour_;
    QColor backColour_;
};
