#include "shell/fonts.h"
#include "shell/pagefactory.h"
#include "shell/pageset.h"
#include "shell/pagewindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zuvi-taggen"));
    QApplication::setDesktopFileName(QStringLiteral("com.zuvicms.TagGenerator"));
    installPageFonts();
    QApplication::setWindowIcon(applicationIcon());

    PageSet pages(createPageWindow);
    pages.start();
    // Closing the visible page closes the last visible window and ends the run.
    return app.exec();
}
