#include "app/commandline.h"
#include "app/pagefactory.h"
#include "core/outputfile.h"
#include "core/rawbytes.h"
#include "shell/firstpaint.h"
#include "shell/pageset.h"
#include "shell/platform/clipboard.h"
#include "shell/platform/displayreach.h"
#include "shell/platform/fontconfiguration.h"
#include "shell/platform/terminationsignals.h"
#include "shell/platform/windowplatform.h"
#include "shell/startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    reserveClosedStandardDescriptors();
    // The command line must run without a display, so this is decided before
    // a QApplication exists.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << textFromRawBytes(argv[i]);
    if (!argumentsForTheWindows(arguments))
        return runCommandLine(argc, argv);

    choosePlatformForSession();
    // Without a display Qt would abort.
    SystemDisplays displays;
    const QString noDisplay = unreachableDisplay(arguments, SessionEnvironment::current(), displays.answers());
    if (!noDisplay.isEmpty())
        return refuseWindowsWithoutDisplay(noDisplay);

    startReadingFontConfiguration();
    QApplication app(argc, argv);
    displays.release();
    quitOnTerminationSignals();
    reportFirstPaintIfAsked();
    prepareApplication();

    SystemClipboard clipboard;
    PageSet pages(pageFactory(clipboard));
    pages.start();
    // Closing the visible page closes the last visible window and ends the run.
    return app.exec();
}
