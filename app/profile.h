#pragma once

#include <QSettings>
#include <QString>

#include "color.h"
#include "drawing_records.h"

// The user's settings, in an INI file of the user's own: sections and keys
// as the program has always named them, numbers and colours (0x00BBGGRR) as
// integers. Every write reaches the file at once.
class Profile {
public:
    static constexpr const char* kRegistryKey = "Local AppWizard-Generated Applications";
    static constexpr const char* kVisualSettings = "VisualSettings";

    // The file of the user scope for the program's title, under the
    // program's registry key.
    static QString DefaultPath(const QString& applicationTitle);

    explicit Profile(const QString& path);

    QString Path() const { return settings_.fileName(); }

    int GetProfileInt(const QString& section, const QString& key, int defaultValue) const;
    QString GetProfileString(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    void WriteProfileInt(const QString& section, const QString& key, int value);
    void WriteProfileString(const QString& section, const QString& key, const QString& value);
    void RemoveProfileKey(const QString& section, const QString& key);

    // The "VisualSettings" section: the defaults of new network views.
    int GetProfileLineWidth() const;
    struct Colors {
        ColorRef line = 0;
        ColorRef font = 0;
        ColorRef background = kWhite;
    };
    Colors GetProfileColors() const;
    void WriteProfileLineWidth(int width);
    void WriteProfileBackgroundColor(ColorRef color);
    void WriteProfileColors(ColorRef line, ColorRef font);
    // Height, weight, italic, underline, pitch and family, character set
    // and face name, in `section` or "VisualSettings".
    void WriteProfileFont(const LogFont& font, const QString& section = kVisualSettings);

private:
    QString KeyOf(const QString& section, const QString& key) const { return section + '/' + key; }

    mutable QSettings settings_;
};
