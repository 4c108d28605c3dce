#pragma once

#include <QString>

class Profile;
class QWidget;

// Where a window was and whether it was shown, kept in the user's settings
// under a section of its own ("Left", "Top", "Right", "Bottom" in screen
// pixels, right and bottom exclusive; "Visible" 0 or 1). The profile and
// the window are borrowed; without either nothing is read or written.
class WindowPlacement {
public:
    static constexpr const char* kDefaultSection = "Def Window";

    explicit WindowPlacement(Profile* profile = nullptr) : profile_(profile) {}

    // `visibleFlag` is what Save writes as "Visible"; without one, 1.
    void Attach(QWidget* window, const QString& section = kDefaultSection, const int* visibleFlag = nullptr);

    const QString& Section() const { return section_; }

    void Save() const;
    // A section without a rectangle only shows the window where it is. A
    // stored rectangle moves and sizes it without raising or activating
    // it, then shows it, or hides it when "Visible" is 0. A rectangle that
    // meets no screen is not applied, so that a window never comes back
    // out of reach after a screen was removed. Stored coordinates are held
    // within what a window system can address, and the size within all
    // screens together.
    void Restore() const;

private:
    Profile* profile_;
    QWidget* window_ = nullptr;
    QString section_ = kDefaultSection;
    const int* visibleFlag_ = nullptr;
};
