#include "lsp/stdioserver.h"

#include "lsp/languageserver.h"
#include "lsp/messagereader.h"

#include <cerrno>
#include <csignal>
#include <cstdio>

#include <poll.h>
#include <unistd.h>

namespace {

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

bool readable(int fd)
{
    pollfd request{fd, POLLIN, 0};
    return ::poll(&request, 1, 0) > 0;
}

// The protocol's own descriptor, a copy of standard output; standard output
// itself then writes to standard error, so that nothing but messages
// reaches the client on the protocol's stream.
int takeStandardOutput()
{
    std::fflush(stdout);
    const int protocol = ::dup(STDOUT_FILENO);
    if (protocol < 0 || ::dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
        return -1;
    return protocol;
}

} // namespace

int runLanguageServer()
{
    const int protocol = takeStandardOutput();
    if (protocol < 0) {
        std::perror("zuvi-taggen lsp: standard output");
        return 1;
    }
    // A client gone is seen as a failed write, not a signal.
    std::signal(SIGPIPE, SIG_IGN);

    bool outputOpen = true;
    LanguageServer server([&](const QByteArray &body) {
        if (outputOpen)
            outputOpen = writeAll(protocol, frameMessage(body));
    });
    MessageReader reader;
    bool inputOpen = true;
    char buffer[65536];
    while (!server.finished() && outputOpen) {
        // Everything that has arrived is read before the next message is
        // handled, so that a cancellation finds its request still waiting.
        if (inputOpen && (!server.hasWaiting() || readable(STDIN_FILENO))) {
            const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                inputOpen = false;
            } else {
                reader.append(QByteArrayView(buffer, n));
                for (MessageReader::Item item = reader.next(); item.kind != MessageReader::Item::Nothing; item = reader.next()) {
                    if (item.kind == MessageReader::Item::Message)
                        server.receive(item.body);
                    else
                        server.receiveMalformed(item.problem);
                }
            }
            continue;
        }
        if (!server.handleNext() && !inputOpen)
            server.inputClosed();
    }
    ::close(protocol);
    return server.exitStatus();
}
