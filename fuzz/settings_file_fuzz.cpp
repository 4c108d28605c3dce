// Reads arbitrary bytes as the user's settings file, as the program does at
// start-up and when windows open: the visual settings (colours, line
// width), the recent-file list and the placement of a window in every
// section the file has. A crash, a sanitizer report, a hang or a large
// allocation is a finding.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include <QApplication>
#include <QSettings>
#include <QStringList>
#include <QWidget>

#include "offscreen_application.h"
#include "profile.h"
#include "recent_file_list.h"
#include "scratch_file.h"
#include "window_placement.h"

namespace {

// Sections a file may name for placements; more would only repeat the work.
constexpr qsizetype kMaxSections = 8;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    return StartOffscreenApplication<QApplication>(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile file("settings.ini");
    Profile profile(QString::fromStdString(file.Write(data, size)));
    profile.GetProfileLineWidth();
    profile.GetProfileColors();
    RecentFileList recent(4);
    recent.ReadList(profile);
    for (const QString& path : recent.Files()) RecentFileList::MenuText(0, path);

    QStringList sections = QSettings(profile.Path(), QSettings::IniFormat).childGroups();
    sections.prepend(WindowPlacement::kDefaultSection);
    for (const QString& section : sections.first(std::min(sections.size(), kMaxSections))) {
        QWidget window;
        WindowPlacement placement(&profile);
        placement.Attach(&window, section);
        placement.Restore();
    }
    return 0;
}
