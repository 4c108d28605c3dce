// Cell texts through the clipboard: the selected block goes out as lines of
// tab-separated fields (rows by a bare line feed); text coming in is split at
// line feeds into rows and at tabs or commas into columns. Hidden rows and
// columns neither give nor take a field.

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QRegularExpression>

#include "grid_ctrl.h"

namespace {

constexpr char kPlainText[] = "text/plain";

// The first row (column) of nonzero size at or after `index`; -1 when none
// is left.
int ShownFrom(const CGridCtrl& grid, int index, Qt::Orientation along) {
    bool rows = along == Qt::Vertical;
    int count = rows ? grid.GetRowCount() : grid.GetColumnCount();
    for (; index < count; ++index) {
        if ((rows ? grid.GetRowHeight(index) : grid.GetColumnWidth(index)) > 0) return index;
    }
    return -1;
}

// The pasted text as the clipboard's C string held it: up to its first NUL.
QString PastedText(const QMimeData& data) {
    QString text = data.text();
    qsizetype end = text.indexOf(QChar(u'\0'));
    if (end >= 0) text.truncate(end);
    return text;
}

}  // namespace

QByteArray CGridCtrl::CopyTextBytes(const CCellRange& range) const {
    QByteArray bytes;
    bool firstRow = true;
    for (int row = range.minRow; row <= range.maxRow; ++row) {
        if (GetRowHeight(row) <= 0) continue;
        if (!firstRow) bytes += '\n';
        firstRow = false;
        bool firstCol = true;
        for (int col = range.minCol; col <= range.maxCol; ++col) {
            if (GetColumnWidth(col) <= 0) continue;
            if (!firstCol) bytes += '\t';
            firstCol = false;
            if (IsCellSelected(row, col)) bytes += GetCellText(row, col).toUtf8();
        }
    }
    bytes += '\0';
    return bytes;
}

std::unique_ptr<QMimeData> CGridCtrl::CopyTextFromGrid() {
    CCellRange range = GetSelectedCellRange();
    bool valid = range.minRow >= 0 && range.minCol >= 0 && range.maxRow >= range.minRow &&
                 range.maxCol >= range.minCol && range.maxRow < GetRowCount() && range.maxCol < GetColumnCount();
    if (!valid) return nullptr;
    QByteArray bytes = CopyTextBytes(range);
    // The clipboard's text carries its length; the NUL is not part of it.
    bytes.chop(1);
    auto data = std::make_unique<QMimeData>();
    data->setData(kPlainText, bytes);
    return data;
}

void CGridCtrl::CutSelectedText() {
    if (!editable_) return;
    const std::set<CCellID> selected = selectedCells_;
    for (const CCellID& id : selected) SetCellTextChecked(id.row, id.col, QString());
}

void CGridCtrl::OnEditCopy() {
    if (std::unique_ptr<QMimeData> data = CopyTextFromGrid()) QGuiApplication::clipboard()->setMimeData(data.release());
}

void CGridCtrl::OnEditCut() {
    if (!editable_) return;
    OnEditCopy();
    CutSelectedText();
}

void CGridCtrl::OnEditPaste() {
    if (!editable_) return;
    CCellRange selected = GetSelectedCellRange();
    CCellID target{selected.minRow, selected.minCol};
    if (!target.IsValid()) target = focusCell_;
    if (!target.IsValid()) target = GetTopLeftNonFixedCell();
    CGridCellBase* cell = GetCell(target.row, target.col);
    if (cell && cell->IsEditing() && cell->GetEditWnd()) {
        cell->GetEditWnd()->paste();
        return;
    }
    if (const QMimeData* data = QGuiApplication::clipboard()->mimeData()) PasteTextToGrid(target.row, target.col, data);
}

bool CGridCtrl::CanEditCopy() const { return !selectedCells_.empty(); }

bool CGridCtrl::CanEditCut() const { return editable_ && !selectedCells_.empty(); }

bool CGridCtrl::CanEditPaste() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return IsCellEditable(focusCell_.row, focusCell_.col) && data && data->hasText();
}

bool CGridCtrl::PasteTextToGrid(int row, int col, const QMimeData* data, bool selectPasted) {
    if (!IsCellEditable(row, col) || !data || !data->hasText()) return false;
    QStringList lines = PastedText(*data).split(u'\n');
    // Text from an editor ends its last line with a line feed; the empty
    // line after it would clear a cell below the pasted block.
    if (lines.size() > 1 && lines.back().isEmpty()) lines.removeLast();

    static const QRegularExpression fieldSeparator(QStringLiteral("[\t,]"));
    CCellRange pasted{row, col, -1, -1};
    int target = row - 1;
    for (const QString& line : lines) {
        target = ShownFrom(*this, target + 1, Qt::Vertical);
        if (target < 0) break;
        int column = col - 1;
        for (const QString& field : line.split(fieldSeparator)) {
            column = ShownFrom(*this, column + 1, Qt::Horizontal);
            if (column < 0) break;
            SetCellTextChecked(target, column, field.trimmed());
            SetItemState(target, column, GetCellState(target, column) & ~GridCellState::Selected);
            pasted.maxRow = std::max(pasted.maxRow, target);
            pasted.maxCol = std::max(pasted.maxCol, column);
        }
    }

    if (selectPasted) {
        SetSelectedRange(pasted);
    } else {
        ResetSelectedRange();
        Refresh();
    }
    return true;
}
