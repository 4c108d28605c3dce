#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QString>

#include "geometry.h"

class CGridCtrl;

// What an in-place edit reports as it ends: its cell, its text then, the
// key that ended it (GridKey: Tab, Enter, Esc or a navigation key; 0 when
// the focus went elsewhere) and the modifiers held with that key.
struct GridEditEnd {
    int row = -1;
    int col = -1;
    QString text;
    unsigned key = 0;
    Qt::KeyboardModifiers modifiers;
};

// The single-line editor a grid cell opens over itself. It starts by the key
// that opened it, widens as its text grows, keeps Enter, Esc and Tab from the
// window around it, and ends on those keys, on the navigation keys (unless
// the mouse opened it, when they move the caret; with Ctrl they end it
// always) and when it loses the focus. It then reports to the grid and
// deletes itself.
class CInPlaceEdit : public QLineEdit {
public:
    // A child of the grid's viewport over `rect` (the cell's pixels, right
    // and bottom edges its last), in the grid's cell font; takes the focus.
    CInPlaceEdit(CGridCtrl* grid, const Rect& rect, Qt::Alignment alignment, int row, int col,
                 const QString& text, unsigned firstKey);

    int GetRow() const { return row_; }
    int GetColumn() const { return col_; }

    // Reports the text and the last key to the grid, once, then closes. A
    // call while any in-place edit is ending does nothing, so that the end
    // that a report sets off cannot run a second time.
    void EndEdit();
    // The grid will not hear from this edit again (its cell went away); it
    // closes at once.
    void Detach();
    // A key sent to the edit after it opened: a typed character goes in as
    // if typed; other keys do nothing.
    void TypeKey(unsigned key);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The last key becomes `key` and the focus goes back to the grid, which
    // ends the edit.
    void Leave(unsigned key, Qt::KeyboardModifiers modifiers);
    // Widens the edit to its text and two blanks, up to the viewport's edge.
    void Grow();
    void Close();

    QPointer<CGridCtrl> grid_;
    int row_;
    int col_;
    // What Esc brings back.
    QString initialText_;
    unsigned lastKey_ = 0;
    Qt::KeyboardModifiers lastModifiers_;
    // Off when the mouse opened the edit: the navigation keys then move the
    // caret.
    bool exitOnArrows_;
    Rect rect_;
    bool ended_ = false;
};
