// Test main for every test program: a QApplication exists, so widgets, timers and event
// processing behave as in the program.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // Widget tests draw offscreen unless a run asks for a real display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
