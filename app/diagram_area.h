#pragma once

#include <QAbstractScrollArea>

#include "geometry.h"

class CTavrinView;

// The scrolled part of the network view: its viewport shows the diagram
// and hands the view every paint, button, move and key release, with the
// buttons and keys held as mouse flags and keys as virtual key codes.
class DiagramArea final : public QAbstractScrollArea {
public:
    explicit DiagramArea(CTavrinView& view);

    // The scroll bars span the diagram, in diagram units (one per pixel).
    void SetDiagramSize(Size size);
    Point ScrollPosition() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // Arrow keys move the selection, not the diagram.
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateScrollBars();

    CTavrinView& view_;
    Size diagramSize_;
};

// The mouse flags (MouseFlag bits) of the buttons and keys held.
int MouseFlagsOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
// The virtual key code of a key; 0 for a key without one.
int VirtualKeyOf(int qtKey);
