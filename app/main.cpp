#include <cstdio>

#include <QApplication>

#include "main_frame.h"
#include "qt_prompt_service.h"
#include "tavrin_app.h"

namespace {

// Qt would end the program with a long complaint about platform plugins;
// one line says what is wrong.
bool HasDisplay() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char** argv) {
    if (!HasDisplay()) {
        std::fprintf(stderr, "tavrin: no display to show its windows on (DISPLAY is not set); "
                             "start it from a desktop session or under xvfb-run.\n");
        return 1;
    }
    QApplication application(argc, argv);
    QtPromptService prompts;
    CTavrinApp tavrin(prompts);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (!tavrin.InitInstance(arguments)) return 1;
    prompts.SetParent(tavrin.MainFrame());
    return application.exec();
}
