#include "bench/programmemory.h"

#include <QFile>

#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

ProgramMemory programMemory(const QByteArrayList &arguments, const QString &input)
{
    ProgramMemory measured;
    std::vector<char *> argv;
    for (const QByteArray &argument : arguments)
        argv.push_back(const_cast<char *>(argument.constData()));
    argv.push_back(nullptr);
    const QByteArray inputPath = input.isEmpty() ? QByteArray("/dev/null") : QFile::encodeName(input);
    const pid_t child = fork();
    if (child < 0)
        return measured;
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        const int in = open(inputPath.constData(), O_RDONLY);
        dup2(in, STDIN_FILENO);
        ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        raise(SIGSTOP);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ptrace(PTRACE_SETOPTIONS, child, nullptr,
           reinterpret_cast<void *>(PTRACE_O_TRACEEXIT | PTRACE_O_TRACEEXEC | PTRACE_O_EXITKILL));
    ptrace(PTRACE_CONT, child, nullptr, nullptr);
    while (waitpid(child, &status, 0) == child && WIFSTOPPED(status)) {
        if (status >> 16 == PTRACE_EVENT_EXIT)
            measured.atExit = readResidency(child);
        const int signal = WSTOPSIG(status) == SIGTRAP ? 0 : WSTOPSIG(status);
        ptrace(PTRACE_CONT, child, nullptr, reinterpret_cast<void *>(long(signal)));
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) != 127)
        measured.status = WEXITSTATUS(status);
    return measured;
}
