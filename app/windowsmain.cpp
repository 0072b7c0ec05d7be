#include "app/errorline.h"
#include "app/pagefactory.h"
#include "app/windowarguments.h"
#include "core/files/outputfile.h"
#include "core/catalog/pagetable.h"
#include "core/product.h"
#include "core/files/rawbytes.h"
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

namespace {

// For the windows when no display answers (`why`, from the platform check):
// one line that says so and points to what works without one.
int refuseWindowsWithoutDisplay(const QString &why)
{
    writeErrorLine(QStringLiteral("cannot open the windows: %1. Without a display, use export, check "
                                  "or lsp (see --help).")
                       .arg(why));
    return 1;
}

// For a start that found a tool running for the user and display, at the
// socket `path`, which did not answer.
int refuseHandOverUnanswered(const QString &path)
{
    writeErrorLine(QStringLiteral("a %1 already runs for this display (%2) but does not answer; "
                                  "end it and start again.")
                       .arg(programName(), path));
    return 1;
}

} // namespace

// The windows, which zuvi-taggen (app/launcher.cpp) starts for arguments
// that ask for nothing else.
int main(int argc, char *argv[])
{
    reserveClosedStandardDescriptors();
    const std::optional<WindowArguments> windows = argumentsForTheWindows(argc - 1, argv + 1);
    if (!windows) {
        writeErrorLine(QStringLiteral("this program opens the windows only; the commands are %1's "
                                      "(see %1 --help).")
                           .arg(programName()));
        return 2;
    }
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << textFromRawBytes(argv[i]);
    const QString searchText = textFromRawBytes(QByteArrayView(windows->searchText.data(),
                                                               qsizetype(windows->searchText.size())));

    // One tool per user and display: a later start hands over to it and ends,
    // before it costs a display connection.
    const QString socketPath = instanceSocketPath(arguments, SessionEnvironment::current());
    SingleInstance instance(socketPath);
    switch (instance.handOver(StartRequest::withTokensOfThisStart(windows->search, searchText))) {
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
        pages.openSearch(Page::Home, searchText);
    QObject::connect(&instance, &SingleInstance::requested, &pages, [&pages](const StartRequest &request) {
        pages.comeForward(request.activationToken, request.startupId);
        if (request.search)
            pages.openSearch(pages.shownPage(), request.searchText);
    });
    // Later starts wait on the lock until this one listens; the first page
    // need not wait for that.
    afterFirstPaint([&instance] {
        if (!instance.listen())
            qWarning("%s: later starts will not find this one: %s", qPrintable(programName()),
                     qPrintable(instance.errorString()));
    });
    // Closing the visible page closes the last visible window and ends the run.
    return app.exec();
}
