// One main for every test program: GoogleTest inside a QApplication set up
// as the program sets up its own, on the offscreen platform unless the
// environment asks for another.
#include "shell/startup.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    prepareApplication();
    return RUN_ALL_TESTS();
}
