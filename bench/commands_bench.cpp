// The commands as the user starts them: `zuvi-taggen check` of one small
// file, `export vscode` and `--version`, each a fresh process from spawn to
// exit, against a bare QCoreApplication that reads the same file
// (zuvi-core-floor), in turns. Wall time, and the CPU time the kernel
// counted for the process, which moves less with the load of the machine.

#include "bench/benchmarks.h"
#include "bench/support.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QList>
#include <QString>

#include <algorithm>
#include <ctime>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using benchmark::State;

// The smallest template of the test theme: start-up is all there is to it.
const QByteArray kSmallFile = ZUVI_FIXTURE_THEME "/footer.htm";

struct Command {
    const char *name;
    QList<QByteArray> arguments;   // the program first
};

const QList<Command> &commands()
{
    static const QList<Command> list = {
        {"floor", {ZUVI_CORE_FLOOR_PATH, kSmallFile}},
        {"check", {ZUVI_TAGGEN_PATH, "check", kSmallFile}},
        {"export", {ZUVI_TAGGEN_PATH, "export", "vscode"}},
        {"version", {ZUVI_TAGGEN_PATH, "--version"}},
    };
    return list;
}

struct Times {
    double wallMs = -1;
    double cpuMs = -1;   // user and system time of the process
};

double monotonicMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// One run with its output thrown away; negative times where it failed (the
// check of the theme's file finds nothing, so every command ends with 0).
Times run(const Command &command)
{
    std::vector<char *> argv;
    for (const QByteArray &argument : command.arguments)
        argv.push_back(const_cast<char *>(argument.constData()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const double started = monotonicMs();
    const int failed = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed)
        return {};
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return {monotonicMs() - started, ms(usage.ru_utime) + ms(usage.ru_stime)};
}

struct CommandFigures {
    QString error;
    int rounds = 0;
    QList<double> wallMedian;   // per command, in the order of commands()
    QList<double> cpuMedian;
};

CommandFigures measure()
{
    CommandFigures result;
    const int rounds = qEnvironmentVariableIsSet("ZUVI_BENCH_ROUNDS") ? qEnvironmentVariableIntValue("ZUVI_BENCH_ROUNDS")
                                                                      : 9;
    // As many rounds as the end-to-end start-up, at least 21.
    result.rounds = std::max(9 * rounds, 21);
    const qsizetype count = commands().size();
    std::vector<std::vector<double>> wall(static_cast<size_t>(count));
    std::vector<std::vector<double>> cpu(static_cast<size_t>(count));
    // One round unmeasured: the programs and libraries into the page cache.
    for (const Command &command : commands())
        run(command);
    for (int round = 0; round < result.rounds; ++round) {
        // In turns, each round starting with the next one, so that a slow
        // stretch of the machine hits all alike.
        for (qsizetype turn = 0; turn < count; ++turn) {
            const qsizetype i = (turn + round) % count;
            const Times times = run(commands()[i]);
            if (times.wallMs < 0) {
                result.error = QStringLiteral("%1 failed").arg(QLatin1String(commands()[i].name));
                return result;
            }
            wall[size_t(i)].push_back(times.wallMs);
            cpu[size_t(i)].push_back(times.cpuMs);
        }
    }
    for (qsizetype i = 0; i < count; ++i) {
        result.wallMedian << median(wall[size_t(i)]);
        result.cpuMedian << median(cpu[size_t(i)]);
    }
    return result;
}

const CommandFigures &figures()
{
    static const CommandFigures measured = measure();
    return measured;
}

// Command `index` of commands() against the floor (index 0).
void commandAgainstFloor(State &state, qsizetype index)
{
    const CommandFigures &f = figures();
    if (!f.error.isEmpty()) {
        state.SkipWithError(f.error.toStdString().c_str());
        return;
    }
    for (auto _ : state)
        state.SetIterationTime(f.wallMedian[index] / 1000.0);
    state.counters["command_ms"] = f.wallMedian[index];
    state.counters["floor_ms"] = f.wallMedian[0];
    state.counters["ratio"] = f.wallMedian[index] / f.wallMedian[0];
    state.counters["command_cpu_ms"] = f.cpuMedian[index];
    state.counters["floor_cpu_ms"] = f.cpuMedian[0];
    state.counters["cpu_ratio"] = f.cpuMedian[index] / f.cpuMedian[0];
    state.counters["rounds"] = f.rounds;
}

} // namespace

void registerCommandBenchmarks()
{
    for (qsizetype i = 1; i < commands().size(); ++i) {
        benchmark::RegisterBenchmark((std::string("Command/") + commands()[i].name).c_str(),
                                     [i](State &state) { commandAgainstFloor(state, i); })
            ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
    }
}
