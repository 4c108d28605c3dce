// The keyboard: the key table that moves the focus (the selection following
// it, or growing from its start cell with Shift), the clipboard keys, Delete
// and F2, and typed characters, which open an edit of the focus cell.

#include <algorithm>
#include <optional>

#include <QInputMethodEvent>
#include <QKeyEvent>

#include "grid_ctrl.h"
#include "grid_keys.h"
#include "grid_scroll_axis.h"

namespace {

// A Tab that wrapped to another row.
enum class Wrap { None, Forward, Backward };

bool IsClipboardKey(unsigned key, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::ControlModifier) {
        return key == 'C' || key == 'V' || key == 'X' || key == GridKey::Insert;
    }
    return (modifiers & Qt::ShiftModifier) && key == GridKey::Insert;
}

}  // namespace

bool CGridCtrl::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && handleTabKey_ && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            HideTitleTip();
            Qt::KeyboardModifiers modifiers = key->modifiers();
            if (key->key() == Qt::Key_Backtab) modifiers |= Qt::ShiftModifier;
            // Past the first or last cell the focus chain takes the Tab.
            if (OnKeyDown(GridKey::Tab, modifiers)) return true;
        }
    }
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (focusCell_.IsValid() && IsClipboardKey(GridKey::FromQtKey(key->key()), key->modifiers())) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void CGridCtrl::keyPressEvent(QKeyEvent* event) {
    HideTitleTip();
    unsigned key = GridKey::FromQtKey(event->key());
    if (key != 0 && OnKeyDown(key, event->modifiers())) {
        event->accept();
        return;
    }
    // Ctrl and Alt with a character are commands, not typing.
    bool typing = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (typing && OnTyped(event->text())) {
        event->accept();
        return;
    }
    event->ignore();
}

void CGridCtrl::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty()) OnTyped(event->commitString());
    event->accept();
}

bool CGridCtrl::OnTyped(const QString& text) {
    if (mouseMode_ != GridMouseMode::Nothing || text.isEmpty()) return false;
    const QList<uint> characters = text.toUcs4();
    char32_t first = characters.front();
    if (first == GridKey::Escape || (first == GridKey::Tab && handleTabKey_)) return false;
    OnEditCell(focusCell_.row, focusCell_.col, QPoint(-1, -1), GridKey::Typed(first));
    CGridCellBase* cell = GetCell(focusCell_.row, focusCell_.col);
    if (!cell || !cell->IsEditing()) return false;
    // The rest of what an input method committed follows into the edit.
    if (CInPlaceEdit* edit = cell->GetEditWnd()) {
        for (auto it = characters.begin() + 1; it != characters.end(); ++it) edit->TypeKey(GridKey::Typed(*it));
    }
    return true;
}

bool CGridCtrl::OnKeyDown(unsigned key, Qt::KeyboardModifiers modifiers) {
    if (!focusCell_.IsValid()) return false;
    bool ctrl = modifiers & Qt::ControlModifier;
    bool shift = modifiers & Qt::ShiftModifier;
    if (ctrl && (key == 'C' || key == GridKey::Insert)) {
        OnEditCopy();
        return true;
    }
    if ((ctrl && key == 'V') || (shift && !ctrl && key == GridKey::Insert)) {
        OnEditPaste();
        return true;
    }
    if (ctrl && key == 'X') {
        OnEditCut();
        return true;
    }
    if (key == GridKey::Delete) {
        CutSelectedText();
        return true;
    }
    if (key == GridKey::F2) {
        OnEditCell(focusCell_.row, focusCell_.col, QPoint(-1, -1), GridKey::LeftButton);
        return true;
    }

    CCellID next = KeyTarget(key, modifiers);
    if (!next.IsValid()) return false;
    bool wrapped = key == GridKey::Tab && next.row != focusCell_.row;

    if (next != focusCell_ && mouseMode_ == GridMouseMode::Nothing) {
        previousSelectedCells_.clear();
        mouseMode_ = listMode_ ? GridMouseMode::SelectRows : GridMouseMode::SelectCells;
        if (!shift || key == GridKey::Tab) {
            selectionStartCell_ = next;
        } else if (!selectionStartCell_.IsValid()) {
            // Shift grows from where the focus was when nothing set a start.
            selectionStartCell_ = focusCell_;
        }
        SendNotify(GridNotify::SelectionChanging, next.row, next.col);
        OnSelecting(next);
        SendNotify(GridNotify::SelectionChanged, next.row, next.col);
        mouseMode_ = GridMouseMode::Nothing;
    }
    SetFocusCell(next.row, next.col);
    if (wrapped && !IsCellVisible(next.row, next.col)) {
        OnHScroll(shift ? GridScroll::Bottom : GridScroll::Top);
    }
    EnsureCellVisible(next.row, next.col);
    return true;
}

CCellID CGridCtrl::KeyTarget(unsigned key, Qt::KeyboardModifiers modifiers) {
    ScrollAxis rows = Axis(Qt::Vertical);
    ScrollAxis cols = Axis(Qt::Horizontal);
    CCellID next = focusCell_;
    bool ctrl = modifiers & Qt::ControlModifier;
    bool backTab = key == GridKey::Tab && (modifiers & Qt::ShiftModifier);
    // A step that finds nothing leaves the index where it was.
    auto keep = [](int found, int current) { return found >= 0 ? found : current; };
    int firstCol = cols.NextShown(cols.fixedCount - 1, 1);
    int lastCol = cols.NextShown(cols.Count(), -1);
    int firstRow = rows.NextShown(rows.fixedCount - 1, 1);
    int lastRow = rows.NextShown(rows.Count(), -1);

    if (key == GridKey::Left || backTab) {
        int col = cols.NextShown(next.col, -1);
        if (col >= 0 || key == GridKey::Left) return {next.row, keep(col, next.col)};
        int row = rows.NextShown(next.row, -1);
        if (row < 0) return {};
        return {row, keep(lastCol, next.col)};
    }
    if (key == GridKey::Right || key == GridKey::Tab) {
        int col = cols.NextShown(next.col, 1);
        if (col >= 0 || key == GridKey::Right) return {next.row, keep(col, next.col)};
        int row = rows.NextShown(next.row, 1);
        if (row < 0) return {};
        return {row, keep(firstCol, next.col)};
    }
    switch (key) {
    case GridKey::Up: next.row = keep(rows.NextShown(next.row, -1), next.row); break;
    case GridKey::Down: next.row = keep(rows.NextShown(next.row, 1), next.row); break;
    case GridKey::PageUp:
    case GridKey::PageDown: {
        bool up = key == GridKey::PageUp;
        int topBefore = GetTopLeftNonFixedCell().row;
        OnVScroll(up ? GridScroll::PageUp : GridScroll::PageDown);
        int moved = GetTopLeftNonFixedCell().row - topBefore;
        if (moved != 0) {
            next.row = std::clamp(next.row + moved, rows.fixedCount, rows.Count() - 1);
        } else {
            next.row = up ? rows.fixedCount : rows.Count() - 1;
        }
        break;
    }
    case GridKey::Home:
    case GridKey::End: {
        // To the first or last column; with Ctrl also to the first or last row.
        bool home = key == GridKey::Home;
        GridScroll end = home ? GridScroll::Top : GridScroll::Bottom;
        OnHScroll(end);
        next.col = keep(home ? firstCol : lastCol, next.col);
        if (ctrl) {
            OnVScroll(end);
            next.row = keep(home ? firstRow : lastRow, next.row);
        }
        break;
    }
    default: return {};
    }
    return next;
}
