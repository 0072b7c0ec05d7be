#include "app/commandline.h"
#include "app/pagefactory.h"
#include "shell/pageset.h"
#include "shell/startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Any argument is for the command line, which must run without a display,
    // so this is decided before a QApplication exists.
    if (argc > 1)
        return runCommandLine(argc, argv);

    QApplication app(argc, argv);
    prepareApplication();

    PageSet pages(createPageWindow);
    pages.start();
    // Closing the visible page closes the last visible window and ends the run.
    return app.exec();
}
