#pragma once

#include <QByteArray>

#include <csignal>

// The temporary file a process is writing, removed when a signal that ends
// the process (SIGTERM, SIGINT, SIGHUP, SIGQUIT) arrives before the file is
// renamed into place: the handler unlinks the name kept in a static buffer,
// then lets the signal end the process as it would have, with its status.
// A signal the process was started to ignore stays ignored, and one that
// has a handler of its own keeps it. A process writes one such file at a
// time.
namespace LeftoverCleanup {

// Call with the signals held, right after the file is made.
void remember(const QByteArray &path);
// Call with the signals held, once the file is renamed or removed.
void forget();

// Makes a write that must not stop half-way that way: the signals above
// wait until it is done, then take effect.
class SignalsHeld
{
public:
    SignalsHeld();
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld &) = delete;
    SignalsHeld &operator=(const SignalsHeld &) = delete;

private:
    sigset_t m_previous;
};

// A write past the file-size limit (ulimit -f) fails with EFBIG, said as any
// other failure, instead of SIGXFSZ killing the process where it stands.
void failWritesPastTheSizeLimit();

} // namespace LeftoverCleanup
