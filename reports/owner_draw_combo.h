#pragma once

#include <QColor>
#include <QComboBox>
#include <QPalette>
#include <QRect>

class QPainter;

// One item to draw, as the combo box hands it to its owner: the list's rows
// and the closed box alike.
struct OwnerDrawItem {
    QRect rect;
    int index = -1;  // -1: nothing to show (a closed box without selection)
    bool selected = false;
    bool focused = false;
    bool disabled = false;
};

// The system colours an owner-drawn item is painted with, from the palette:
// window and window text are the text-entry colours.
struct OwnerDrawColours {
    QColor window;
    QColor windowText;
    QColor highlight;
    QColor grayText;

    explicit OwnerDrawColours(const QPalette& palette);
    // The text of a selected item: the window text with its 24 colour bits
    // inverted.
    QColor SelectedText() const;
};

// A drop-down list whose items its subclass paints, in the list and in the
// closed box; the style draws only the box's frame and arrow. The item's
// value is its data in Qt::UserRole.
class OwnerDrawCombo : public QComboBox {
    Q_OBJECT

public:
    explicit OwnerDrawCombo(QWidget* parent = nullptr);

    virtual void DrawItem(QPainter& painter, const OwnerDrawItem& item) const = 0;

protected:
    void paintEvent(QPaintEvent* event) override;

    // A focus rectangle on the item's rectangle.
    static void DrawFocusRect(QPainter& painter, const QRect& rect, const QColor& color);
};
