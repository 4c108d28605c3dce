#pragma once

#include <functional>

#include <QLineEdit>

#include "color.h"
#include "drawing_records.h"

class DesktopActions;
class QMenu;

// An edit field in colours of its own, brighter while it has the focus
// (yellow by default), with an optional font, character filter and
// context menu.
class CEditEx : public QLineEdit {
    Q_OBJECT

public:
    static constexpr ColorRef kFocusBackColor = 0xFFFF;

    // The desktop's beep is borrowed.
    explicit CEditEx(DesktopActions& desktop, QWidget* parent = nullptr);

    // A null font is ignored.
    void SetFont(const LogFont* font);
    // Each answers the colour it replaces and repaints.
    ColorRef SetBackColor(ColorRef color);
    ColorRef SetTextColor(ColorRef color);
    ColorRef SetFocusTextColor(ColorRef color);

    // Answers whether a typed character is taken; a refused one beeps and
    // is dropped. Control characters (backspace, tab) always pass.
    using CharacterFilter = std::function<bool(QChar)>;
    void SetCharacterFilter(CharacterFilter filter) { filter_ = std::move(filter); }

    // The menu shown on a right click instead of the field's own; borrowed,
    // null for the field's own.
    void SetContextMenu(QMenu* menu) { contextMenu_ = menu; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The field's colours for the focus state; repaints at once.
    void ApplyColors(bool focused);

    DesktopActions& desktop_;
    ColorRef backColor_;
    ColorRef textColor_;
    ColorRef focusTextColor_;
    ColorRef focusBackColor_ = kFocusBackColor;
    CharacterFilter filter_;
    QMenu* contextMenu_ = nullptr;
};
