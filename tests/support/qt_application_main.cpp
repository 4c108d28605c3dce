#include <gtest/gtest.h>

#include <QApplication>

// The tests of windows and Qt drawing run with one application object on
// the off-screen platform: CTest sets it, and so does this main when the
// tests are listed or run by hand, so that no display is ever needed.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
