#include "app/pagefactory.h"
#include "shell/pageset.h"
#include "shell/startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    prepareApplication();

    PageSet pages(createPageWindow);
    pages.start();
    // Closing the visible page closes the last visible window and ends the run.
    return app.exec();
}
