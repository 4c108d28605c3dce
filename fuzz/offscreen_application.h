#pragma once

#include <QByteArray>
#include <QtGlobal>

// For a target's LLVMFuzzerInitialize: the Qt application (QGuiApplication
// or QApplication) that fonts, pictures and widgets need, on the off-screen
// platform, made once before the first input.
template <class Application>
int StartOffscreenApplication(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static Application application(*argc, *argv);
    return 0;
}
