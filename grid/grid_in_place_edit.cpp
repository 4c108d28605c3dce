#include "grid_in_place_edit.h"

#include <algorithm>

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>

#include "grid_ctrl.h"
#include "grid_keys.h"
#include "qt_colors.h"

namespace {

// One for all in-place edits: an end is running.
bool ending = false;

class EndingGuard {
public:
    EndingGuard() { ending = true; }
    ~EndingGuard() { ending = false; }
    EndingGuard(const EndingGuard&) = delete;
    EndingGuard& operator=(const EndingGuard&) = delete;
};

QRect WidgetRect(const Rect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

bool KeepsFromWindow(int qtKey) {
    return qtKey == Qt::Key_Tab || qtKey == Qt::Key_Backtab || qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter ||
           qtKey == Qt::Key_Escape;
}

// Alt with a character would trigger a menu or a button's mnemonic.
bool IsAltCharacter(const QKeyEvent& key) {
    Qt::KeyboardModifiers mods = key.modifiers();
    return (mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) && !key.text().isEmpty();
}

}  // namespace

CInPlaceEdit::CInPlaceEdit(CGridCtrl* grid, const Rect& rect, Qt::Alignment alignment, int row, int col,
                           const QString& text, unsigned firstKey)
    : QLineEdit(grid->viewport()),
      grid_(grid),
      row_(row),
      col_(col),
      initialText_(text),
      exitOnArrows_(firstKey != GridKey::LeftButton),
      rect_(rect) {
    // A thin border of its own: a style's frame does not fit a cell's height.
    setFrame(false);
    setTextMargins(1, 1, 1, 1);
    setAlignment(alignment | Qt::AlignVCenter);
    setFont(grid->GetDefaultCell(false, false)->GetFontObject());
    setGeometry(WidgetRect(rect_));
    setText(text);
    show();
    setFocus(Qt::OtherFocusReason);

    bool typed = GridKey::IsTyped(firstKey);
    unsigned code = typed ? static_cast<unsigned>(GridKey::CharacterOf(firstKey)) : firstKey;
    if (code == GridKey::LeftButton || code == GridKey::Enter) {
        end(false);
    } else if (code == GridKey::Backspace) {
        end(false);
        if (typed) TypeKey(firstKey);
    } else {
        selectAll();
        bool keepsText = code == GridKey::Tab || code == GridKey::Space || (!typed && GridKey::IsNavigation(code));
        // Typing replaces the text.
        if (typed && !keepsText) TypeKey(firstKey);
    }
}

void CInPlaceEdit::TypeKey(unsigned key) {
    if (!GridKey::IsTyped(key)) return;
    char32_t character = GridKey::CharacterOf(key);
    if (character == GridKey::Backspace) {
        backspace();
    } else {
        insert(QString::fromUcs4(&character, 1));
    }
    Grow();
}

bool CInPlaceEdit::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (KeepsFromWindow(key->key()) || IsAltCharacter(*key)) {
            event->accept();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        Qt::KeyboardModifiers mods = key->modifiers();
        switch (key->key()) {
        case Qt::Key_Backtab: Leave(GridKey::Tab, mods | Qt::ShiftModifier); return true;
        case Qt::Key_Tab: Leave(GridKey::Tab, mods); return true;
        case Qt::Key_Return:
        case Qt::Key_Enter: Leave(GridKey::Enter, mods); return true;
        case Qt::Key_Escape:
            setText(initialText_);
            Leave(GridKey::Escape, mods);
            return true;
        default:
            if (IsAltCharacter(*key)) return true;
            break;
        }
    }
    return QLineEdit::event(event);
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* event) {
    unsigned key = GridKey::FromQtKey(event->key());
    bool leaves = key == GridKey::PageUp || key == GridKey::PageDown || key == GridKey::Left ||
                  key == GridKey::Up || key == GridKey::Right || key == GridKey::Down;
    if (leaves && (exitOnArrows_ || (event->modifiers() & Qt::ControlModifier))) {
        Leave(key, event->modifiers());
        return;
    }
    QString before = text();
    QLineEdit::keyPressEvent(event);
    if (text() != before) Grow();
    // Every key stays here: the grid under the edit must not move its focus
    // while the user types.
    event->accept();
}

void CInPlaceEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A context menu takes the focus only while it is open.
    if (event->reason() != Qt::PopupFocusReason) EndEdit();
}

void CInPlaceEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    painter.setPen(SystemQColor(SystemColor::WindowFrame));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CInPlaceEdit::Leave(unsigned key, Qt::KeyboardModifiers modifiers) {
    lastKey_ = key;
    lastModifiers_ = modifiers;
    if (grid_) grid_->setFocus(Qt::OtherFocusReason);
    // The focus change ends the edit; without an active window there is
    // none, and the edit ends here.
    EndEdit();
}

void CInPlaceEdit::Grow() {
    QFontMetrics metrics(font());
    int width = metrics.horizontalAdvance(text() + QStringLiteral("  "));
    if (width <= rect_.right - rect_.left) return;
    QWidget* client = parentWidget();
    rect_.right = std::min(rect_.left + width, client ? client->width() : rect_.left + width);
    setGeometry(WidgetRect(rect_));
}

void CInPlaceEdit::EndEdit() {
    if (ending || ended_) return;
    {
        EndingGuard guard;
        ended_ = true;
        if (grid_) grid_->OnEndInPlaceEdit(GridEditEnd{row_, col_, text(), lastKey_, lastModifiers_});
    }
    Close();
}

void CInPlaceEdit::Detach() {
    grid_ = nullptr;
    ended_ = true;
    Close();
}

void CInPlaceEdit::Close() {
    // Hiding a focused widget would hand the focus to the next one in the
    // window; it goes back to the grid.
    if (hasFocus() && grid_) grid_->setFocus(Qt::OtherFocusReason);
    hide();
    deleteLater();
}
