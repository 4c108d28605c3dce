#pragma once

#include <QByteArray>
#include <QtGlobal>

// For a target's LLVMFuzzerInitialize: the Qt application (QGuiApplication
// or QApplication) that fonts, pictures and widgets need, on the off-screen
// platform, made once before the first input. It is never destroyed: Qt
// keeps its font database's fontconfig data to the end of the process, and
// once the application is gone the leak check at exit would count it.
// Qt caches what fontconfig answers for each face it is asked for, in
// places the leak check does not see into; those allocations are
// fontconfig's, not the code under test.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

template <class Application>
int StartOffscreenApplication(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static Application* application = new Application(*argc, *argv);
    return application != nullptr ? 0 : 1;
}
