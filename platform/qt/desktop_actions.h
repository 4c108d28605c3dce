#pragma once

#include <QString>

// What a control may ask of the desktop besides a prompt: the warning beep
// and opening a file or address in the program the user chose for it. The
// program holds the real one; tests put a recording one in its place, so
// that no test makes a sound or starts a browser.
class DesktopActions {
public:
    virtual ~DesktopActions() = default;

    virtual void Beep() = 0;
    // False when nothing could open it.
    virtual bool OpenLink(const QString& link) = 0;
};

class QtDesktopActions final : public DesktopActions {
public:
    void Beep() override;
    // A path, an address or a "mailto:" link.
    bool OpenLink(const QString& link) override;
};
