#include "shell/platform/terminationsignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QtGlobal>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

// A handler may do next to nothing safely; it writes the signal's number to
// a pipe, and the event loop reads it.
int signalPipe[2] = {-1, -1};

void onTerminationSignal(int number)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

void quitOnTerminationSignals()
{
    if (signalPipe[0] >= 0 || !QCoreApplication::instance())
        return;
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qWarning("termination signals keep their default action: no pipe (%s)", strerror(errno));
        return;
    }
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        unsigned char number = 0;
        if (::read(signalPipe[0], &number, 1) == 1)
            QCoreApplication::exit(128 + number);
    });

    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND: the next signal of the kind has its default action.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction previous = {};
        if (::sigaction(number, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        ::sigaction(number, &action, nullptr);
    }
}
