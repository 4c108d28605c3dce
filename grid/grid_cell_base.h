#pragma once

#include <cstdint>

#include <QFont>
#include <QPoint>
#include <QSize>
#include <QString>

#include "color.h"
#include "drawing_records.h"
#include "geometry.h"

class CGridCtrl;
class CGridDefaultCell;
class CInPlaceEdit;
class QPainter;
class QWidget;

// The state bits a cell keeps; the grid sets and tests them.
namespace GridCellState {
inline constexpr unsigned Focused = 0x1;
inline constexpr unsigned Selected = 0x2;
inline constexpr unsigned DropHighlighted = 0x4;
inline constexpr unsigned ReadOnly = 0x8;
inline constexpr unsigned Fixed = 0x10;
inline constexpr unsigned FixedRow = 0x20;
inline constexpr unsigned FixedColumn = 0x40;
inline constexpr unsigned Modified = 0x80;
}  // namespace GridCellState

// A format or margin of -1 stands for the default cell's.
inline constexpr unsigned kDefaultCellFormat = ~0u;
inline constexpr int kDefaultCellMargin = -1;

// One cell of a CGridCtrl: it keeps its text, user value, image index,
// state, text format, colours, font and margin, and draws, prints and
// measures itself. Whatever it has no value of its own for (a format or
// margin of -1, a colour of kAutomaticColor, no font) it takes from its
// default cell, the one of the grid's four that matches its fixed bits.
class CGridCellBase {
public:
    CGridCellBase() = default;
    CGridCellBase(const CGridCellBase&) = delete;
    virtual ~CGridCellBase() = default;

    // Copies every attribute of `other` through the setters (its grid too);
    // nothing when `other` is this cell.
    CGridCellBase& operator=(const CGridCellBase& other);

    virtual void SetText(const QString& text) = 0;
    virtual void SetImage(int image) = 0;
    virtual void SetData(std::intptr_t data) = 0;
    virtual void SetState(unsigned state) { state_ = state; }
    virtual void SetFormat(unsigned format) = 0;
    virtual void SetTextColour(ColorRef colour) = 0;
    virtual void SetBackColour(ColorRef colour) = 0;
    // Null drops the cell's own font.
    virtual void SetFont(const LogFont* font) = 0;
    virtual void SetMargin(int margin) = 0;
    virtual void SetGrid(CGridCtrl* grid) = 0;
    // Told after every move; an ordinary cell does not keep its place.
    virtual void SetCoords(int /*row*/, int /*col*/) {}

    virtual const QString& GetText() const = 0;
    virtual int GetImage() const = 0;
    virtual std::intptr_t GetData() const = 0;
    virtual unsigned GetState() const { return state_; }
    // Own, or the default cell's.
    virtual unsigned GetFormat() const = 0;
    // As stored: kAutomaticColor when the cell has none of its own.
    virtual ColorRef GetTextColour() const = 0;
    virtual ColorRef GetBackColour() const = 0;
    // Own, or the default cell's; null when neither exists.
    virtual const LogFont* GetFont() const = 0;
    // The font the cell draws with, by value.
    virtual QFont GetFontObject() const = 0;
    virtual CGridCtrl* GetGrid() const = 0;
    // Own, or the default cell's.
    virtual int GetMargin() const = 0;
    // The grid's default cell for this cell's fixed-row and fixed-column
    // bits; null without a grid.
    virtual CGridDefaultCell* GetDefaultCell() const;
    virtual bool IsDefaultFont() const = 0;

    bool IsFocused() const { return GetState() & GridCellState::Focused; }
    bool IsSelected() const { return GetState() & GridCellState::Selected; }
    bool IsDropHighlighted() const { return GetState() & GridCellState::DropHighlighted; }
    bool IsReadOnly() const { return GetState() & GridCellState::ReadOnly; }
    bool IsFixed() const { return GetState() & GridCellState::Fixed; }
    bool IsFixedRow() const { return GetState() & GridCellState::FixedRow; }
    bool IsFixedColumn() const { return GetState() & GridCellState::FixedColumn; }
    bool IsModified() const { return GetState() & GridCellState::Modified; }

    // State 0; an ordinary cell also forgets every attribute but its user
    // value.
    virtual void Reset();

    // Draws the cell on the screen into `rect`, whose right and bottom edges
    // are the cell's last pixels. With `erase` the cell fills its background
    // even when it has no colour of its own. False when nothing was drawn
    // (no grid, no default cell, a rectangle without area).
    virtual bool Draw(QPainter* painter, int row, int col, Rect rect, bool erase);
    // Where the text goes within the cell's rectangle.
    virtual bool GetTextRect(Rect* rect) const;
    // The room the text needs with the cell's font, format and margin; the
    // default cell's size for an empty text. Without a painter the text is
    // measured for the screen.
    virtual QSize GetTextExtent(const QString& text, QPainter* painter) const;
    virtual QSize GetCellExtent(QPainter* painter) const;
    // As Draw, for paper: without the grid's print-in-colour flag the text is
    // black and nothing is filled.
    virtual bool PrintCell(QPainter* painter, int row, int col, Rect rect);

    // Editing. Edit opens the cell's editor over `rect` (the cell's pixels,
    // in the grid's viewport) for the key that started it (GridKey); a cell
    // that cannot be edited answers false. The grid asks ValidateEdit before
    // it stores an edited text, and calls OnEndEdit once it has.
    virtual bool Edit(int /*row*/, int /*col*/, Rect /*rect*/, QPoint /*point*/, unsigned /*key*/) { return false; }
    virtual bool ValidateEdit(const QString& /*text*/) { return true; }
    // Ends the editor, if one is open: it reports its text to the grid.
    virtual void EndEdit() {}
    virtual void OnEndEdit() {}
    virtual bool IsEditing() const { return false; }
    virtual CInPlaceEdit* GetEditWnd() const { return nullptr; }

    // The text a title tip shows when the cell's own does not fit, and
    // where within the cell's rectangle it goes.
    virtual QString GetTipText() const { return GetText(); }
    virtual bool GetTipTextRect(Rect* rect) const { return GetTextRect(rect); }

    // What the mouse does over the cell; points are relative to the cell's
    // top-left corner. Nothing by default.
    virtual void OnMouseOver() {}
    virtual void OnClick(QPoint /*point*/) {}
    virtual void OnClickDown(QPoint /*point*/) {}
    virtual void OnRClick(QPoint /*point*/) {}
    virtual void OnDblClick(QPoint /*point*/) {}
    // Sets the cursor of `window` while the mouse is over the cell; true
    // when it did.
    virtual bool OnSetCursor(QWidget* window);

protected:
    unsigned state_ = 0;

private:
    // The text and background colours that Draw and PrintCell start from.
    ColorRef ResolvedTextColour(const CGridDefaultCell& def) const;
    void DrawRaisedEdge(QPainter& painter, const Rect& rect) const;
    void DrawSortArrow(QPainter& painter, Rect& rect, bool ascending) const;
    // The text in the rectangle left after edges and margins.
    void DrawTextIn(QPainter& painter, Rect rect) const;
};

// The grid's comparison of two cells for sorting: negative, 0 or positive as
// the first sorts before, with or after the second.
using GridCellCompare = int (*)(const CGridCellBase* a, const CGridCellBase* b, std::intptr_t data);
