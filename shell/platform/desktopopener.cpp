#include "shell/platform/desktopopener.h"

#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

// xdg-open tries the desktop's ways in turn and gives up well within this;
// one still running has handed the address to a browser it runs itself.
constexpr int kDefaultPatienceMs = 10000;

// The parent of every opener process, never destroyed. QProcess's destructor
// kills a child still running, and xdg-open may keep the browser it started
// in the foreground: so openers belong neither to the page nor to the
// program's exit, each deletes itself when it ends, and one still running at
// exit is left to the system. Held by a pointer that is never freed, they
// stay reachable and are not reported as leaks.
QObject *openerProcesses()
{
    static QObject *const parent = new QObject;
    return parent;
}

} // namespace

DesktopOpener::DesktopOpener(QObject *parent) : QObject(parent), m_patienceMs(kDefaultPatienceMs) {}

void DesktopOpener::open(const QUrl &address)
{
    const QString program =
        m_program.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("xdg-open")) : m_program;
    if (!program.isEmpty()) {
        startOpener(program, address);
        return;
    }
    // Qt starts a browser it finds, or refuses at once; what happens after
    // the start is not reported.
    if (QDesktopServices::openUrl(address))
        emit opened(address);
    else
        emit failed(address);
}

void DesktopOpener::startOpener(const QString &program, const QUrl &address)
{
    auto *process = new QProcess(openerProcesses());
    // The opener and any browser it runs write where the program writes and
    // read nothing; no pipe to the program can break when it exits.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());

    const QDeadlineTimer patience(m_patienceMs);
    connect(process, &QProcess::errorOccurred, this, [this, address](QProcess::ProcessError error) {
        // A crash is reported again as the end of the process.
        if (error == QProcess::FailedToStart)
            emit failed(address);
    });
    connect(process, &QProcess::finished, this,
            [this, address, patience](int exitCode, QProcess::ExitStatus status) {
                if ((status == QProcess::CrashExit || exitCode != 0) && !patience.hasExpired())
                    emit failed(address);
                else
                    emit opened(address);
            });
    connect(process, &QProcess::errorOccurred, process, [process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            process->deleteLater();
    });
    connect(process, &QProcess::finished, process, &QObject::deleteLater);

    process->start(program, {address.toString(QUrl::FullyEncoded)});
}
