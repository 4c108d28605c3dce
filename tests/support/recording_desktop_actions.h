#pragma once

#include <QString>
#include <QStringList>

#include "desktop_actions.h"

// Counts the beeps and keeps the links it was asked to open; each link
// opens or fails as `opens` says.
class RecordingDesktopActions final : public DesktopActions {
public:
    int beeps = 0;
    QStringList openedLinks;
    bool opens = true;

    void Beep() override { ++beeps; }
    bool OpenLink(const QString& link) override {
        openedLinks.append(link);
        return opens;
    }
};
