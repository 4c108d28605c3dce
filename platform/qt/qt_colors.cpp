#include "qt_colors.h"

#include <QGuiApplication>

QColor ToQColor(ColorRef color) { return QColor(RedOf(color), GreenOf(color), BlueOf(color)); }

ColorRef ToColorRef(const QColor& color) {
    QColor rgb = color.toRgb();
    return Rgb(static_cast<std::uint8_t>(rgb.red()), static_cast<std::uint8_t>(rgb.green()),
               static_cast<std::uint8_t>(rgb.blue()));
}

QPalette::ColorRole PaletteRoleOf(SystemColor color) {
    switch (color) {
        case SystemColor::Window:
        case SystemColor::Background:
        case SystemColor::AppWorkspace:
            return QPalette::Base;
        case SystemColor::WindowText:
        case SystemColor::MenuText:
        case SystemColor::CaptionText:
        case SystemColor::GrayText:
            return QPalette::WindowText;
        case SystemColor::Highlight:
        case SystemColor::MenuHighlight:
        case SystemColor::ActiveCaption:
        case SystemColor::GradientActiveCaption:
        case SystemColor::HotLight:
            return QPalette::Highlight;
        case SystemColor::HighlightText:
            return QPalette::HighlightedText;
        case SystemColor::ButtonText:
        case SystemColor::InactiveCaptionText:
            return QPalette::ButtonText;
        case SystemColor::ButtonShadow:
        case SystemColor::WindowFrame:
            return QPalette::Dark;
        case SystemColor::DarkShadow3D:
            return QPalette::Shadow;
        case SystemColor::ButtonHighlight:
            return QPalette::Light;
        case SystemColor::Light3D:
            return QPalette::Midlight;
        case SystemColor::InfoText:
            return QPalette::ToolTipText;
        case SystemColor::InfoBackground:
            return QPalette::ToolTipBase;
        case SystemColor::ScrollBar:
        case SystemColor::Menu:
        case SystemColor::MenuBar:
        case SystemColor::ActiveBorder:
        case SystemColor::InactiveBorder:
        case SystemColor::InactiveCaption:
        case SystemColor::GradientInactiveCaption:
        case SystemColor::ButtonFace:
            break;
    }
    return QPalette::Button;
}

QColor SystemQColor(SystemColor color, const QPalette& palette) {
    QPalette::ColorGroup group =
        color == SystemColor::GrayText ? QPalette::Disabled : QPalette::Active;
    return palette.color(group, PaletteRoleOf(color));
}

QColor SystemQColor(SystemColor color) { return SystemQColor(color, QGuiApplication::palette()); }

ColorRef GetSysColor(SystemColor color) { return ToColorRef(SystemQColor(color)); }
