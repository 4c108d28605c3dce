#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include <QAbstractScrollArea>
#include <QByteArray>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QTimer>

#include "color.h"
#include "grid_cell_base.h"
#include "grid_cell_id.h"
#include "grid_default_cell.h"
#include "grid_drop_target.h"
#include "grid_in_place_edit.h"
#include "grid_item.h"
#include "grid_notify.h"
#include "grid_print_layout.h"

class CTitleTip;
class QAction;
class QMimeData;
class QPainter;
class QPrinter;

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

// What the left button is doing, or would do, in the grid (the numbers are
// the ones owners have always seen).
enum class GridMouseMode {
    Nothing = 0,
    SelectAll = 1,
    SelectColumns = 2,
    SelectRows = 3,
    SelectCells = 4,
    OverRowDivider = 6,
    SizingRow = 7,
    OverColumnDivider = 8,
    SizingColumn = 9,
    PrepareEdit = 10,  // went down in the focus cell's text: edits on release
    PrepareDrag = 11,  // went down on a selected cell, or moved from PrepareEdit
    Dragging = 12,
};

// What a scroll bar asks of the grid (up and left, down and right alike).
enum class GridScroll { LineUp, LineDown, PageUp, PageDown, Top, Bottom, ThumbPosition, ThumbTrack, EndScroll };

// A spreadsheet-like window of cells in rows and columns; the first rows and
// columns may be fixed headings that do not scroll. The grid owns its cells,
// keeps their sizes, focus, selection and sort order, and tells its owner of
// what the user does through a notify sink. It paints its own cells over a
// scroll area whose positions are pixels into the non-fixed area.
class CGridCtrl : public QAbstractScrollArea {
    Q_OBJECT

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
    // With `select`, the block becomes the selection (with the cells held
    // from before a Ctrl-click drag); without, its cells are deselected.
    // Fixed rows and columns move to the first non-fixed ones. False while
    // selection is off.
    bool SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, bool select = true);
    bool SetSelectedRange(const CCellRange& range, bool select = true) {
        return SetSelectedRange(range.minRow, range.minCol, range.maxRow, range.maxCol, select);
    }
    void SelectAllCells();
    // From the selection start cell to `cell`: whole columns, whole rows, or
    // the block. Nothing for a fixed cell.
    void SelectColumns(CCellID cell, bool select = true);
    void SelectRows(CCellID cell, bool select = true);
    void SelectCells(CCellID cell, bool select = true);
    // Extends the selection to `cell` by the mouse mode.
    void OnSelecting(CCellID cell);
    // The smallest block that holds every selected cell; all -1 for none.
    CCellRange GetSelectedCellRange() const;
    CCellID GetSelectionStartCell() const { return selectionStartCell_; }
    bool IsCellEditable(int row, int col) const;
    // Selects every non-fixed cell, with the owner told before and after.
    void OnEditSelectAll();
    // Ctrl+A, enabled while selection is.
    QAction* GetSelectAllAction() const { return selectAllAction_; }
    // The cell under a viewport point, fixed cells included; -1 for none.
    CCellID GetCellFromPt(QPoint point);
    GridMouseMode GetMouseMode() const { return mouseMode_; }

    // Editing. OnEditCell opens the cell's editor for the key that started
    // it (GridKey), unless the cell cannot be edited, cannot be brought into
    // view, or the owner refuses the start. `point` is relative to the
    // cell's corner, (-1, -1) for a key.
    virtual void OnEditCell(int row, int col, QPoint point, unsigned key);
    // Ends the focus cell's edit, if one is open.
    void EndEditing();
    bool ValidateEdit(int row, int col, const QString& text);
    // Stores an edited text, unless the cell refuses it or the owner does;
    // then tells the cell that its edit is over.
    void OnEndEditCell(int row, int col, const QString& text);
    // Stores a text as an edit would, without an editor; false when the grid
    // or cell cannot be edited or the owner refuses.
    bool SetCellTextChecked(int row, int col, const QString& text);
    // An in-place edit has ended: its text is stored, and a Tab or
    // navigation key that ended it moves the focus and edits on there.
    virtual void OnEndInPlaceEdit(const GridEditEnd& end);

    // Handles a key (GridKey numbers) as the key table says: the focus moves,
    // the selection follows, edits start. False when the key is left to the
    // window around the grid.
    bool OnKeyDown(unsigned key, Qt::KeyboardModifiers modifiers);

    // The clipboard. Cell texts travel as plain text: one line per row of
    // the selected block, its fields (the texts of the selected cells, empty
    // for the others) separated by tabs, the lines by bare line feeds;
    // hidden rows and columns are left out. Copy and cut work on the
    // selection; paste writes from the selection's top-left cell, else the
    // focus cell, else the top-left cell shown, or into the edit open there.
    virtual void OnEditCopy();
    virtual void OnEditCut();
    virtual void OnEditPaste();
    // Whether the commands can run now: copy with a selection, cut with one
    // in an editable grid, paste with text on the clipboard and an editable
    // focus cell.
    bool CanEditCopy() const;
    bool CanEditCut() const;
    bool CanEditPaste() const;
    // The selection's text, or null when nothing is selected.
    virtual std::unique_ptr<QMimeData> CopyTextFromGrid();
    // The text of the range's selected cells as the clipboard has always
    // held it, ending in one NUL.
    QByteArray CopyTextBytes(const CCellRange& range) const;
    // Writes lines of text (fields split at tabs and commas, trimmed) into
    // the shown rows and columns from (row, col) on, through
    // SetCellTextChecked: cells that refuse keep their text. What lies
    // beyond the grid is dropped. The written block then becomes the
    // selection, or without `selectPasted` the selection ends. False, with
    // nothing written, when the cell cannot be edited or there is no text.
    virtual bool PasteTextToGrid(int row, int col, const QMimeData* data, bool selectPasted = true);
    // Clears the selected cells' texts through SetCellTextChecked.
    virtual void CutSelectedText();

    // Dragging the selection out (with drag and drop on): a drag of its text
    // that may copy or move; a move clears the dragged cells afterwards.
    virtual void OnBeginDrag();
    // Runs the drag of `data` and answers what the drop did; by default the
    // window system's drag. Tests put their own in.
    using DragLoop = std::function<DropEffect(std::unique_ptr<QMimeData> data)>;
    void SetDragLoop(DragLoop loop) { dragLoop_ = std::move(loop); }

    // Printing, for a caller that drives the print job: begin, one call per
    // page (pages numbered from 1), end. Print drives them all on a printer,
    // over the page range its dialog chose (all pages when none), and is
    // false when the printer cannot be painted on.
    bool Print(QPrinter& printer);
    virtual void OnBeginPrinting(QPainter& painter, GridPrintInfo& info);
    virtual void OnPrint(QPainter& painter, const GridPrintInfo& info);
    virtual void OnEndPrinting(QPainter& painter, const GridPrintInfo& info);
    const GridPrintLayout& GetPrintLayout() const { return printLayout_; }

    // Null until a tip was first needed.
    CTitleTip* GetTitleTip() const { return titleTip_; }

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

    // The grid's own answers to a drag of text over it, with drag and drop
    // on: an editable non-fixed cell under the point takes the drop
    // highlight and copies with Ctrl held, else moves; a drop pastes there
    // and ends the selection.
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
    void EnableSelection(bool on);
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

Q_SIGNALS:
    // Queued after the left button was released over a cell.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // A click on a heading: sorts (when a heading click sorts) and selects
    // the column, or everything from the corner.
    virtual void OnFixedRowClick(CCellID cell);
    // A click on a row heading selects the row, or everything.
    virtual void OnFixedColumnClick(CCellID cell);
    // Each tick of auto-scrolling, while the left button is held outside
    // the non-fixed cells: one row or column further, the selection with it.
    void OnTimer();
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

    // The pieces of a printed page, in logical units: the header and footer
    // rectangles, the headings of the page's rows and columns (`top` where
    // the body, or the column headings, begin), and one row's cells from
    // `origin` on.
    virtual void PrintHeader(QPainter& painter, const Rect& rect);
    virtual void PrintFooter(QPainter& painter, const Rect& rect, const GridPrintInfo& info);
    virtual void PrintRowHeadings(QPainter& painter, const CCellRange& cells, int top);
    virtual void PrintColumnHeadings(QPainter& painter, const CCellRange& cells, int top);
    virtual void PrintRowCells(QPainter& painter, int row, int firstCol, int lastCol, QPoint origin,
                               bool firstRowOfBand);

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
    // The steps of the mouse.
    void OnLButtonDown(QPoint point, Qt::KeyboardModifiers modifiers);
    void OnLButtonUp(QPoint point);
    void OnLButtonDblClk(QPoint point);
    void OnRButtonUp(QPoint point);
    void OnMouseMove(QPoint point, Qt::MouseButtons buttons);
    // A press on a divider starts sizing its row or column.
    void BeginSizing(Qt::Orientation bar, QPoint point);
    void EndSizing(QPoint point);
    // The band follows the point, held where the new size can reach.
    void MoveBand(QPoint point);
    int ClampedBandPosition(QPoint point) const;
    // Two pixels across the viewport where the row or column would end.
    QRect BandRect() const;
    // Over a divider the mode says so; elsewhere it returns to nothing.
    void UpdateHoverMode(QPoint point);
    void ShowTitleTip(QPoint point);
    void HideTitleTip();
    void SetMouseMode(GridMouseMode mode);
    // The row (vertical) or column (horizontal) whose far edge lies within
    // the resize capture range of the point; -1 for none. A near edge
    // belongs to the one shown before.
    int DividerAt(Qt::Orientation bar, QPoint point);
    bool OverColumnDivider(QPoint point);
    bool OverRowDivider(QPoint point);
    // Where a key moves the focus; invalid when the key is left to the
    // window around the grid.
    CCellID KeyTarget(unsigned key, Qt::KeyboardModifiers modifiers);
    // A typed text opens an edit of the focus cell holding it.
    bool OnTyped(const QString& text);
    // The text as an edit ends: stored unless refused.
    void StoreEditedText(int row, int col, const QString& text);
    // The fixed cells of the row and column drawn with the focus cell.
    void RedrawFocusHeadings(CCellID cell, CCellID other);
    DropEffect RunDrag(std::unique_ptr<QMimeData> data);
    void SetDropHighlight(CCellID id, bool on);
    CCellID NonFixedCellFromPt(QPoint point);

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
    // What was selected when a Ctrl-click began, kept while it drags.
    std::set<CCellID> previousSelectedCells_;
    // The anchor that Shift extends from.
    CCellID selectionStartCell_;
    // Where the left button last went down (fixed cells too).
    CCellID leftClickDownCell_;

    GridMouseMode mouseMode_ = GridMouseMode::Nothing;
    // Before the last press: a double click that follows a press stands in
    // for it.
    GridMouseMode modeBeforePress_ = GridMouseMode::Nothing;
    bool leftButtonDown_ = false;
    QPoint leftButtonDownPoint_;
    QPoint lastMousePoint_;
    QTimer autoScrollTimer_;
    // The row or column being sized, its near edge and the band's place
    // (viewport pixels).
    int sizingIndex_ = -1;
    int sizingStart_ = 0;
    int bandPosition_ = 0;
    CTitleTip* titleTip_ = nullptr;
    QAction* selectAllAction_ = nullptr;

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
    // The cell a drag is over, highlighted while it could take the drop.
    CCellID lastDragOverCell_;
    DragLoop dragLoop_;
    // Measured when printing begins; the font lives until printing ends.
    GridPrintLayout printLayout_;
    std::optional<QFont> printerFont_;
};
