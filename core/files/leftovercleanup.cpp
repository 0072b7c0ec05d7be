#include "core/files/leftovercleanup.h"

#include <atomic>
#include <climits>
#include <cstring>
#include <pthread.h>
#include <unistd.h>

namespace {

constexpr int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT};

// Read by the handler, so a plain buffer and a flag that says it is whole.
char g_path[PATH_MAX];
std::atomic<bool> g_remembered{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void removeLeftoverAndEnd(int signal)
{
    if (g_remembered.load())
        ::unlink(g_path);
    // SA_RESETHAND made the action the default again: it ends the process
    // once the handler returns and the signal is no longer held.
    ::raise(signal);
}

void installHandlers()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    for (const int signal : kEndingSignals) {
        struct sigaction current;
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL)
            continue;
        struct sigaction action {};
        action.sa_handler = removeLeftoverAndEnd;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND;
        ::sigaction(signal, &action, nullptr);
    }
}

sigset_t endingSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kEndingSignals)
        sigaddset(&set, signal);
    return set;
}

} // namespace

namespace LeftoverCleanup {

void remember(const QByteArray &path)
{
    installHandlers();
    g_remembered.store(false);
    if (size_t(path.size()) >= sizeof g_path)
        return;   // no such name could have been made
    std::memcpy(g_path, path.constData(), size_t(path.size()));
    g_path[path.size()] = '\0';
    g_remembered.store(true);
}

void forget()
{
    g_remembered.store(false);
}

SignalsHeld::SignalsHeld()
{
    const sigset_t set = endingSignals();
    pthread_sigmask(SIG_BLOCK, &set, &m_previous);
}

SignalsHeld::~SignalsHeld()
{
    pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
}

void failWritesPastTheSizeLimit()
{
    struct sigaction current;
    if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
        std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace LeftoverCleanup
