// One main for every test program: GoogleTest inside a QApplication, on the
// offscreen platform unless the environment asks for another.
#include "shell/fonts.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    installPageFonts();
    return RUN_ALL_TESTS();
}
