#include "windows_metrics.h"

#include <QApplication>

namespace {

std::optional<QFont>& MessageFontOverride() {
    static std::optional<QFont> font;
    return font;
}

}  // namespace

QFont MessageFont() {
    if (MessageFontOverride()) return *MessageFontOverride();
    return QApplication::font("QMessageBox");
}

void OverrideMessageFont(std::optional<QFont> font) { MessageFontOverride() = std::move(font); }
