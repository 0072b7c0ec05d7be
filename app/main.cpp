#include "app/commandline.h"
#include "app/pagefactory.h"
#include "core/outputfile.h"
#include "core/pagetable.h"
#include "core/rawbytes.h"
#include "shell/firstpaint.h"
#include "shell/pageset.h"
#include "shell/platform/clipboard.h"
#include "shell/platform/displayreach.h"
#include "shell/platform/fontconfiguration.h"
#include "shell/platform/singleinstance.h"
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
    const std::optional<WindowArguments> windows = argumentsForTheWindows(arguments);
    if (!windows)
        return runCommandLine(argc, argv);

    // One tool per user and display: a later start hands over to it and ends,
    // before it costs a display connection.
    const QString socketPath = instanceSocketPath(arguments, SessionEnvironment::current());
    SingleInstance instance(socketPath);
    switch (instance.handOver(StartRequest::withTokensOfThisStart(windows->search, windows->searchText))) {
    case SingleInstance::HandOver::Done:
        return 0;
    case SingleInstance::HandOver::Unanswered:
        return refuseHandOverUnanswered(socketPath);
    case SingleInstance::HandOver::NoRunningTool:
        break;
    }

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
    if (windows->search)
        pages.openSearch(Page::Home, windows->searchText);
    QObject::connect(&instance, &SingleInstance::requested, &pages, [&pages](const StartRequest &request) {
        pages.comeForward(request.activationToken, request.startupId);
        if (request.search)
            pages.openSearch(pages.shownPage(), request.searchText);
    });
    if (!instance.listen())
        qWarning("zuvi-taggen: later starts will not find this one: %s", qPrintable(instance.errorString()));
    // Closing the visible page closes the last visible window and ends the run.
    return app.exec();
}
