#include "profile.h"

#include "windows_1250.h"

QString Profile::DefaultPath(const QString& applicationTitle) {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, kRegistryKey, applicationTitle).fileName();
}

Profile::Profile(const QString& path) : settings_(path, QSettings::IniFormat) {}

int Profile::GetProfileInt(const QString& section, const QString& key, int defaultValue) const {
    bool ok = false;
    int value = settings_.value(KeyOf(section, key)).toInt(&ok);
    return ok ? value : defaultValue;
}

QString Profile::GetProfileString(const QString& section, const QString& key, const QString& defaultValue) const {
    return settings_.value(KeyOf(section, key), defaultValue).toString();
}

void Profile::WriteProfileInt(const QString& section, const QString& key, int value) {
    settings_.setValue(KeyOf(section, key), value);
    settings_.sync();
}

void Profile::WriteProfileString(const QString& section, const QString& key, const QString& value) {
    settings_.setValue(KeyOf(section, key), value);
    settings_.sync();
}

void Profile::RemoveProfileKey(const QString& section, const QString& key) {
    settings_.remove(KeyOf(section, key));
    settings_.sync();
}

int Profile::GetProfileLineWidth() const { return GetProfileInt(kVisualSettings, "LineWidth", 0); }

Profile::Colors Profile::GetProfileColors() const {
    Colors colors;
    colors.line = static_cast<ColorRef>(GetProfileInt(kVisualSettings, "LineColor", 0));
    colors.font = static_cast<ColorRef>(GetProfileInt(kVisualSettings, "FontColor", 0));
    colors.background =
        static_cast<ColorRef>(GetProfileInt(kVisualSettings, "BackgroundColor", static_cast<int>(kWhite)));
    return colors;
}

void Profile::WriteProfileLineWidth(int width) { WriteProfileInt(kVisualSettings, "LineWidth", width); }

void Profile::WriteProfileBackgroundColor(ColorRef color) {
    WriteProfileInt(kVisualSettings, "BackgroundColor", static_cast<int>(color));
}

void Profile::WriteProfileColors(ColorRef line, ColorRef font) {
    WriteProfileInt(kVisualSettings, "LineColor", static_cast<int>(line));
    WriteProfileInt(kVisualSettings, "FontColor", static_cast<int>(font));
}

void Profile::WriteProfileFont(const LogFont& font, const QString& section) {
    WriteProfileInt(section, "Height", font.height);
    WriteProfileInt(section, "Weight", font.weight);
    WriteProfileInt(section, "Italic", font.italic);
    WriteProfileInt(section, "Underline", font.underline);
    WriteProfileInt(section, "PitchAndFamily", font.pitchAndFamily);
    WriteProfileInt(section, "CharSet", font.charSet);
    WriteProfileString(section, "FaceName", FromWindows1250(font.FaceName()));
}
