#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include <QAbstractScrollArea>
#include <QPoint>
#include <QRect>
#include <QString>

#include "color.h"
#include "grid_cell_base.h"
#include "grid_cell_id.h"
#include "grid_default_cell.h"
#include "grid_drop_target.h"
#include "grid_item.h"
#include "grid_notify.h"

class QMimeData;
class QPainter;

// Which lines the grid draws between its non-fixed cells.
enum class GridLines { None = 0, Horizontal = 1, Vertical = 2, Both = 3 };

// Which cells auto-sizing measures (bits).
namespace GridAutoSize {
inline constexpr unsigned Default = 0x0;  // the grid's own style
inline constexpr unsigned Header = 0x1;  // the fixed (heading) cells
inline constexpr unsigned Data = 0x2;    // the other cells
}  // namespace GridAutoSize

// A block of cells, both corners included; -1 for none.
struct CCellRange {
    int minRow = -1;
    int minCol = -1;
    int maxRow = -1;
    int maxCol = -1;

    bool Contains(int row, int col) const {
        return row >= minRow && row <= maxRow && col >= minCol && col <= maxCol;
    }
    friend bool operator==(const CCellRange&, const CCellRange&) = default;
};

// What a scroll bar asks of the grid (up and left, down and right alike).
enum class GridScroll { LineUp, LineDown, PageUp, PageDown, Top, Bottom, ThumbPosition, ThumbTrack, EndScroll };

// A spreadsheet-like window of cells in rows and columns; the first rows and
// columns may be fixed headings that do not scroll. The grid owns its cells,
// keeps their sizes, focus, selection and sort order, and tells its owner of
// what the user does through a notify sink. It paints its own cells over a
// scroll area whose positions are pixels into the non-fixed area.
class CGridCtrl : public QAbstractScrollArea {
public:
    // Makes the cells of new rows and columns; CGridCell by default.
    using CellFactory = std::function<std::unique_ptr<CGridCellBase>()>;

    CGridCtrl(int rows = 0, int cols = 0, int fixedRows = 0, int fixedCols = 0, QWidget* parent = nullptr);
    ~CGridCtrl() override;

    // The owner that notifications go to; none by default (every
    // notification then answers 0).
    void SetNotifySink(IGridNotifySink* sink) { sink_ = sink; }
    int SendNotify(int code, int row, int col);
    void SetCellFactory(CellFactory factory) { cellFactory_ = std::move(factory); }

    // Table size. The setters answer false when the count is negative, or
    // when memory ran out while growing: the rows or columns made so far
    // then stay.
    int GetRowCount() const { return static_cast<int>(rowHeights_.size()); }
    int GetColumnCount() const { return static_cast<int>(colWidths_.size()); }
    int GetFixedRowCount() const { return fixedRows_; }
    int GetFixedColumnCount() const { return fixedCols_; }
    bool SetRowCount(int rows);
    bool SetColumnCount(int cols);
    bool SetFixedRowCount(int fixedRows);
    bool SetFixedColumnCount(int fixedCols);
    // The new row's index, or -1 when `before` (-1: append) is a fixed row
    // or beyond the table.
    int InsertRow(const QString& heading, int before = -1);
    bool DeleteRow(int row);
    void DeleteAllItems();

    // Sizes in pixels; 0 hides the row or column (its cells stay). -1 for a
    // row or column that does not exist.
    int GetRowHeight(int row) const;
    int GetColumnWidth(int col) const;
    bool SetRowHeight(int row, int height);
    bool SetColumnWidth(int col, int width);
    int GetFixedRowHeight() const;
    int GetFixedColumnWidth() const;
    int GetVirtualHeight() const;
    int GetVirtualWidth() const;

    // Cells. Every operation on a cell that does not exist fails (false, 0,
    // an empty text or null).
    CGridCellBase* GetCell(int row, int col) const;
    CGridDefaultCell* GetDefaultCell(bool fixedRow, bool fixedCol) const;
    bool SetCell(const CGridItem& item);
    bool SetCellText(int row, int col, const QString& text);
    QString GetCellText(int row, int col) const;
    bool SetCellData(int row, int col, std::intptr_t data);
    std::intptr_t GetCellData(int row, int col) const;
    unsigned GetCellState(int row, int col) const;
    // Keeps the selected cells in step with the selected bit.
    bool SetItemState(int row, int col, unsigned state);
    bool SetCellTextColour(int row, int col, ColorRef colour);
    bool SetCellBackColour(int row, int col, ColorRef colour);
    ColorRef GetCellBackColour(int row, int col) const;

    // Marks one cell (row and col given) or the whole grid modified or not;
    // a change to the whole grid or to the sort column ends the sort order.
    // Once the grid is unmodified no cell is. Answers the grid's flag.
    bool SetModified(bool modified = true, int row = -1, int col = -1);
    bool GetModified() const { return modified_; }

    // Sorts the non-fixed rows on the column's cells, keeping rows of equal
    // keys in their order. Null compares the cells' texts.
    bool SortItems(GridCellCompare compare, int col, bool ascending, std::intptr_t data = 0);
    // Byte-wise on the texts as stored (single-byte), 0 when a cell is
    // missing.
    static int CompareCellTexts(const CGridCellBase* a, const CGridCellBase* b, std::intptr_t data);
    int GetSortColumn() const { return sortColumn_; }
    bool GetSortAscending() const { return sortAscending_; }

    // Focus and selection.
    CCellID GetFocusCell() const { return focusCell_; }
    // Moves the focus bit; a fixed row or column moves to the first
    // non-fixed one (-1 stays -1). Answers the previous focus cell.
    CCellID SetFocusCell(int row, int col);
    bool IsCellSelected(int row, int col) const;
    // No selection, no focus.
    void ResetSelectedRange();

    // A click selects whole rows; ends the sort order and the selection by a
    // click on a fixed column.
    void SetListMode(bool on);
    bool GetListMode() const { return listMode_; }

    // Repaints, and sizes the scroll bars to the table, when drawing is
    // allowed.
    void Refresh();
    void ResetScrollBars();

    // Painting. Nothing paints outside the viewport's paint event: the
    // redraw operations only mark the cell's pixels (and the grid lines on
    // its right and bottom edges) for it, and fail when drawing is off or
    // the cell is not on the screen.
    virtual void OnDraw(QPainter& painter, const QRect& clip);
    void EraseBackground(QPainter& painter, const QRect& clip);
    bool RedrawCell(int row, int col);
    bool RedrawRow(int row);
    bool InvalidateCellRect(int row, int col);

    // Geometry in viewport pixels. The top-left cell is the first non-fixed
    // cell shown at the present scroll positions; a column or row partly
    // scrolled out is not shown.
    CCellID GetTopLeftNonFixedCell(bool forceRecalculation = false);
    // The non-fixed cells the viewport shows, and the rectangle from (0, 0)
    // to the viewport's edges or the table's end, whichever comes first.
    CCellRange GetVisibleNonFixedCellRange(Rect* rect = nullptr);
    // False for a non-fixed row or column scrolled out above or left.
    bool GetCellOrigin(int row, int col, QPoint* origin);
    // Right and bottom are the cell's last pixels.
    bool GetCellRect(int row, int col, Rect* rect);
    bool IsCellVisible(int row, int col);
    // Scrolls until the cell is as fully in view as it can be.
    void EnsureCellVisible(int row, int col);
    // The viewport's room, whatever its layout has reached.
    QRect GetClientRect() const;

    // Scrolling. Positions are pixels into the non-fixed area.
    int GetScrollPos32(Qt::Orientation bar) const;
    bool SetScrollPos32(Qt::Orientation bar, int position);
    void OnVScroll(GridScroll code, int trackPosition = 0);
    void OnHScroll(GridScroll code, int trackPosition = 0);
    // Lines per 120 units of wheel turn; -1 scrolls a page per 120.
    int GetWheelScrollLines() const { return wheelScrollLines_; }
    void SetWheelScrollLines(int lines) { wheelScrollLines_ = lines; }
    void OnMouseWheel(int delta);

    // Fits to the cells' contents; flags are GridAutoSize bits. Hidden
    // rows and columns stay hidden (the single-row and -column forms fail
    // on them).
    void AutoSize(unsigned flags = GridAutoSize::Default);
    bool AutoSizeColumn(int col, unsigned flags = GridAutoSize::Default, bool resetScrollBars = true);
    bool AutoSizeRow(int row, bool resetScrollBars = true);

    // The grid's own answers to a drag over it; none until the grid takes
    // drops.
    DropEffect OnDragEnter(const QMimeData* data, Qt::KeyboardModifiers keys, QPoint point);
    DropEffect OnDragOver(const QMimeData* data, Qt::KeyboardModifiers keys, QPoint point);
    bool OnDrop(const QMimeData* data, DropEffect effect, QPoint point);
    void OnDragLeave();
    CGridDropTarget& GetDropTarget() { return dropTarget_; }

    // Colours (kAutomaticColor for the title tip's own).
    ColorRef GetSurroundColour() const { return surroundColour_; }
    void SetSurroundColour(ColorRef colour) { surroundColour_ = colour; }
    ColorRef GetGridLineColour() const { return gridLineColour_; }
    void SetGridLineColour(ColorRef colour) { gridLineColour_ = colour; }
    ColorRef GetTitleTipTextColour() const { return titleTipTextColour_; }
    ColorRef GetTitleTipBackColour() const { return titleTipBackColour_; }
    void SetTitleTipColours(ColorRef text, ColorRef back) {
        titleTipTextColour_ = text;
        titleTipBackColour_ = back;
    }

    GridLines GetGridLines() const { return gridLines_; }
    void SetGridLines(GridLines lines) { gridLines_ = lines; }
    unsigned GetAutoSizeStyle() const { return autoSizeStyle_; }
    void SetAutoSizeStyle(unsigned style) { autoSizeStyle_ = style; }

    // Flags, with their defaults in the members below.
    bool IsEditable() const { return editable_; }
    void SetEditable(bool on) { editable_ = on; }
    bool GetDragAndDrop() const { return dragAndDrop_; }
    void EnableDragAndDrop(bool on) { dragAndDrop_ = on; }
    bool GetSingleRowSelection() const { return singleRowSelection_; }
    void SetSingleRowSelection(bool on) { singleRowSelection_ = on; }
    bool GetSingleColSelection() const { return singleColSelection_; }
    void SetSingleColSelection(bool on) { singleColSelection_ = on; }
    // Off: no operation paints or touches the scroll bars.
    bool GetRedraw() const { return allowDraw_; }
    void SetRedraw(bool on) { allowDraw_ = on; }
    bool IsSelectable() const { return selectionEnabled_; }
    void EnableSelection(bool on) { selectionEnabled_ = on; }
    bool GetFixedColumnSelection() const { return fixedColumnSelection_; }
    void SetFixedColumnSelection(bool on) { fixedColumnSelection_ = on; }
    bool GetFixedRowSelection() const { return fixedRowSelection_; }
    void SetFixedRowSelection(bool on) { fixedRowSelection_ = on; }
    bool GetHeaderSort() const { return headerSort_; }
    void SetHeaderSort(bool on) { headerSort_ = on; }
    bool GetHandleTabKey() const { return handleTabKey_; }
    void SetHandleTabKey(bool on) { handleTabKey_ = on; }
    bool GetDoubleBuffering() const { return doubleBuffering_; }
    void SetDoubleBuffering(bool on) { doubleBuffering_ = on; }
    bool GetTitleTips() const { return titleTips_; }
    void EnableTitleTips(bool on) { titleTips_ = on; }
    bool GetPrintAtScreenProportions() const { return printAtScreenProportions_; }
    void SetPrintAtScreenProportions(bool on) { printAtScreenProportions_ = on; }
    bool GetPrintColour() const { return printColour_; }
    void SetPrintColour(bool on) { printColour_ = on; }
    bool GetFrameFocusCell() const { return frameFocusCell_; }
    void SetFrameFocusCell(bool on) { frameFocusCell_ = on; }
    // Resizing by dragging may grab a zero-width column (zero-height row).
    bool GetGrabHiddenColumns() const { return grabHiddenColumns_; }
    void SetGrabHiddenColumns(bool on) { grabHiddenColumns_ = on; }
    bool GetGrabHiddenRows() const { return grabHiddenRows_; }
    void SetGrabHiddenRows(bool on) { grabHiddenRows_ = on; }
    // Dragging may shrink a column (row) to 0, hiding it.
    bool GetAllowColumnHide() const { return allowColumnHide_; }
    void SetAllowColumnHide(bool on) { allowColumnHide_ = on; }
    bool GetAllowRowHide() const { return allowRowHide_; }
    void SetAllowRowHide(bool on) { allowRowHide_ = on; }
    // The fixed cells of the focus cell's row and column are drawn with it.
    bool GetTrackFocusCell() const { return trackFocusCell_; }
    void SetTrackFocusCell(bool on) { trackFocusCell_ = on; }
    bool GetRowResize() const { return rowResize_; }
    void SetRowResize(bool on) { rowResize_ = on; }
    bool GetColumnResize() const { return columnResize_; }
    void SetColumnResize(bool on) { columnResize_ = on; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Every change of a scroll position lands here; the grid paints from
    // its cells, so nothing is moved, only repainted.
    void scrollContentsBy(int dx, int dy) override;
    // Registers the drop target once, then fits the scroll bars.
    void OnSize();
    // Passes the grid's font to the four default cells.
    void OnSetFont();
    // The default cells, and the surround, that followed a system colour
    // take its new value.
    void OnSysColorChange();

    // A cell of the cell class for (row, col), with its grid, coordinates,
    // fixed bits and its default cell's format; null when the factory makes
    // none. Throws std::bad_alloc when memory runs out.
    std::unique_ptr<CGridCellBase> CreateCell(int row, int col);
    // Takes the cell out of the selection and deletes it.
    void DestroyCell(int row, int col);

private:
    using Row = std::vector<std::unique_ptr<CGridCellBase>>;

    bool ValidCell(int row, int col) const {
        return row >= 0 && row < GetRowCount() && col >= 0 && col < GetColumnCount();
    }
    Row MakeRow(int row);
    // Sets or clears fixed bits on the cells of rows [from, to) (columns)
    // as they start or stop being fixed.
    void FixRows(int from, int to, bool fixed);
    void FixColumns(int from, int to, bool fixed);
    // The twin steps of fixing rows or columns: `fixedCount` becomes
    // `wanted`, the table growing to it first when it has fewer (`count`).
    bool SetFixedCount(int wanted, int& fixedCount, int count, bool (CGridCtrl::*grow)(int),
                       void (CGridCtrl::*fix)(int, int, bool));
    // The selection maps forget the cells at and beyond these bounds.
    void ForgetCellsBeyond(int rows, int cols);
    void EndSortOrder();
    void ApplyRowOrder(const std::vector<int>& order);
    // The steps of painting.
    void DrawCells(QPainter& painter, const QRect& clip, const CCellRange& visible);
    void DrawGridLines(QPainter& painter, const CCellRange& visible, const Rect& visibleRect);
    void OnScroll(Qt::Orientation bar, GridScroll code, int trackPosition);
    void OnScrollBarAction(Qt::Orientation bar, int action);
    // The rows (vertical) or columns (horizontal) as the scroll steps and
    // the geometry walk them.
    struct ScrollAxis;
    ScrollAxis Axis(Qt::Orientation bar) const;
    void CacheSystemColours();

    IGridNotifySink* sink_ = nullptr;
    CellFactory cellFactory_;

    ColorRef surroundColour_;
    ColorRef gridLineColour_ = Rgb(192, 192, 192);
    ColorRef titleTipTextColour_ = kAutomaticColor;
    ColorRef titleTipBackColour_ = kAutomaticColor;
    GridLines gridLines_ = GridLines::Both;

    bool editable_ = true;
    bool modified_ = false;
    bool dragAndDrop_ = false;
    bool listMode_ = false;
    bool singleRowSelection_ = false;
    bool singleColSelection_ = false;
    bool allowDraw_ = true;
    bool selectionEnabled_ = true;
    bool fixedColumnSelection_ = true;
    bool fixedRowSelection_ = true;
    bool headerSort_ = false;
    bool handleTabKey_ = true;
    bool doubleBuffering_ = true;
    bool titleTips_ = true;
    bool printAtScreenProportions_ = false;
    bool printColour_ = true;
    bool frameFocusCell_ = true;
    bool grabHiddenColumns_ = true;
    bool grabHiddenRows_ = true;
    bool allowColumnHide_ = true;
    bool allowRowHide_ = true;
    bool trackFocusCell_ = true;
    bool rowResize_ = true;
    bool columnResize_ = true;

    unsigned autoSizeStyle_ = GridAutoSize::Header | GridAutoSize::Data;
    int fixedRows_ = 0;
    int fixedCols_ = 0;
    std::vector<int> rowHeights_;
    std::vector<int> colWidths_;
    // Normal, fixed row, fixed column, corner.
    std::array<std::unique_ptr<CGridDefaultCell>, 4> defaultCells_;
    std::vector<Row> cells_;

    CCellID focusCell_;
    // Keyed by the whole (row, column) pair.
    std::set<CCellID> selectedCells_;
    std::set<CCellID> previousSelectedCells_;

    bool sortAscending_ = true;
    int sortColumn_ = -1;

    // Dropped by every change of a scroll position or of the table's size.
    CCellID topLeftCell_;
    // Extent - 1 of the non-fixed area along each shown bar, else 0.
    int largestHorizontalPos_ = 0;
    int largestVerticalPos_ = 0;
    int wheelScrollLines_ = 3;
    // Window text, window, button face and button shadow as last seen.
    std::array<ColorRef, 4> systemColours_{};
    CGridDropTarget dropTarget_;
};
