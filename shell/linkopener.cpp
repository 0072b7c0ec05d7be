#include "shell/linkopener.h"

#include "shell/failurenotice.h"

#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>

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

LinkOpener::LinkOpener(QWidget *noticeWindow)
    : QObject(noticeWindow), m_noticeWindow(noticeWindow), m_patienceMs(kDefaultPatienceMs)
{
}

void LinkOpener::open(const QUrl &address)
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
        fail(address);
}

void LinkOpener::startOpener(const QString &program, const QUrl &address)
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
            fail(address);
    });
    connect(process, &QProcess::finished, this,
            [this, address, patience](int exitCode, QProcess::ExitStatus status) {
                if ((status == QProcess::CrashExit || exitCode != 0) && !patience.hasExpired())
                    fail(address);
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

void LinkOpener::fail(const QUrl &address)
{
    if (!m_notice) {
        m_notice = new FailureNotice(m_noticeWindow, QStringLiteral("OpenFailureNotice"), true);
        m_notice->offerDetailCopy(QStringLiteral("复制网址"));
    }
    m_notice->showFailure(QStringLiteral("无法启动浏览器打开下面的网址，请复制网址后在浏览器中打开："),
                          address.toString());
    emit failed(address);
}
