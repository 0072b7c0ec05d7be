// The main of the core tests: GoogleTest inside a QCoreApplication, with no
// GUI library linked and no display.
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char *argv[])
{
    testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
