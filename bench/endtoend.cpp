#include "bench/endtoend.h"
#include "bench/support.h"

#include "tools/xvfbserver.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

qint64 monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Spawns `program` with `environment` and returns the milliseconds from just
// before the spawn to the first paint it reports; negative on failure, with
// `error` saying why. posix_spawn, so that the parent's part of starting a
// process is as small as it can be, and the same for both programs.
double timeToFirstPaint(const QByteArray &program, const std::vector<std::string> &environment, QString *error)
{
    std::vector<char *> envp;
    for (const std::string &entry : environment)
        envp.push_back(const_cast<char *>(entry.c_str()));
    envp.push_back(nullptr);
    char *argv[] = {const_cast<char *>(program.constData()), nullptr};

    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        *error = QStringLiteral("no pipe");
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);

    pid_t child = 0;
    const qint64 spawned = monotonicNanoseconds();
    const int failed = posix_spawn(&child, program.constData(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (failed) {
        close(pipeEnds[0]);
        *error = QStringLiteral("cannot start %1").arg(QString::fromLocal8Bit(program));
        return -1;
    }

    // Everything the child writes to stderr, until it closes it by ending.
    QByteArray output;
    QDeadlineTimer deadline(30000);
    for (;;) {
        pollfd readable{pipeEnds[0], POLLIN, 0};
        const int ready = poll(&readable, 1, int(qMax<qint64>(deadline.remainingTime(), 0)));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            kill(child, SIGKILL);
            *error = QStringLiteral("%1 did not end within 30 s").arg(QString::fromLocal8Bit(program));
            break;
        }
        char buffer[4096];
        const ssize_t n = read(pipeEnds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        output.append(buffer, n);
    }
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!error->isEmpty())
        return -1;

    for (const QByteArray &line : output.split('\n')) {
        if (line.startsWith("first-paint "))
            return double(line.mid(12).toLongLong() - spawned) / 1e6;
    }
    *error = QStringLiteral("%1 reported no first paint (exit status %2): %3")
                 .arg(QString::fromLocal8Bit(program))
                 .arg(status)
                 .arg(QString::fromLocal8Bit(output.trimmed()));
    return -1;
}

EndToEndFigures measure()
{
    EndToEndFigures result;
    // Each round is short, and single starts on a shared machine spread by a
    // factor of up to 1.5 (the X server adds noise of its own): with 27
    // rounds the ratio of the medians moved by +-0.06 from run to run. Nine
    // times the rounds of the other fresh-process figures, at least 9; 81
    // rounds take about 10 s.
    const int rounds = qEnvironmentVariableIsSet("ZUVI_BENCH_ROUNDS") ? qEnvironmentVariableIntValue("ZUVI_BENCH_ROUNDS")
                                                                      : 9;
    result.rounds = std::max(9 * rounds, 9);

    const XvfbServer server;
    if (!server.ready()) {
        result.error = server.error();
        return result;
    }
    QProcessEnvironment environment = server.environment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("ZUVI_REPORT_FIRST_PAINT"), QStringLiteral("1"));
    environment.insert(QStringLiteral("ZUVI_QUIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
    std::vector<std::string> entries;
    for (const QString &entry : environment.toStringList())
        entries.push_back(entry.toStdString());

    const QByteArray tool(ZUVI_TAGGEN_PATH);
    const QByteArray bare(ZUVI_BARE_WINDOW_PATH);
    // Two rounds unmeasured first: the programs, the libraries and the font
    // files in the page cache, and the X server through its first clients.
    for (int warmUp = 0; warmUp < 2 && result.error.isEmpty(); ++warmUp) {
        timeToFirstPaint(bare, entries, &result.error);
        timeToFirstPaint(tool, entries, &result.error);
    }
    for (int round = 0; round < result.rounds && result.error.isEmpty(); ++round) {
        // In turns, and which one goes first alternates too, so that a slow
        // stretch of the machine and whatever the one before leaves behind
        // hit both alike.
        const bool bareFirst = round % 2 == 0;
        for (int turn = 0; turn < 2 && result.error.isEmpty(); ++turn) {
            const bool isBare = (turn == 0) == bareFirst;
            const double ms = timeToFirstPaint(isBare ? bare : tool, entries, &result.error);
            if (ms >= 0)
                (isBare ? result.bare : result.tool).push_back(ms);
            // The X server finishes with the client that just ended.
            QThread::msleep(20);
        }
    }
    result.toolMedian = median(result.tool);
    result.bareMedian = median(result.bare);
    return result;
}

} // namespace

const EndToEndFigures &endToEndFigures()
{
    static const EndToEndFigures figures = measure();
    return figures;
}
