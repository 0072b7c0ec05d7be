// One main for every test program: GoogleTest inside a QApplication set up
// as the program sets up its own, on the offscreen platform with one
// 1920 x 1080 screen unless the environment asks for another platform.
#include "shell/startup.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char *argv[])
{
    // A screen the size of a common desktop: narrower screens change what
    // the toolkit does (a tooltip wider than the screen wraps by itself).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" ZUVI_TEST_SCREEN);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    prepareApplication();
    return RUN_ALL_TESTS();
}
