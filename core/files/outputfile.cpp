#include "core/files/outputfile.h"

#include "core/files/leftovercleanup.h"
#include "core/files/rawbytes.h"

#include <QRandomGenerator>

#include <algorithm>
#include <tuple>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QString systemReason(int error)
{
    char buffer[256];
    // GNU strerror_r: the message in the locale's language and encoding.
    return textFromRawBytes(strerror_r(error, buffer, sizeof buffer));
}

// The descriptor a name such as /dev/stdout or /dev/fd/3 stands for, or -1.
int ownDescriptor(const QByteArray &path)
{
    if (path == "/dev/stdout")
        return STDOUT_FILENO;
    if (path == "/dev/stderr")
        return STDERR_FILENO;
    for (const char *prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        if (!path.startsWith(prefix))
            continue;
        const QByteArray digits = path.mid(qsizetype(std::strlen(prefix)));
        const bool number = !digits.isEmpty() && digits.size() <= 9
                            && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
        return number ? digits.toInt() : -1;
    }
    return -1;
}

// A Unix socket is not opened but connected to.
int connectToSocket(const QByteArray &path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
        return -1;
    }
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

// Every byte, however many calls it takes; errno says why not.
bool writeFully(int fd, QByteArrayView bytes)
{
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

// Opened without waiting for a FIFO's reader, then written as any other.
int openWithoutWaiting(const QByteArray &path, int flags)
{
    const int fd = ::open(path.constData(), flags | O_NONBLOCK, 0666);
    if (fd >= 0)
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArrayLiteral(".") : slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

} // namespace

OutputFile::OutputFile(QByteArray target) : m_target(std::move(target)) {}

OutputFile::~OutputFile()
{
    discard();
}

QString OutputFile::writeWhole(const QByteArray &target, QByteArrayView bytes)
{
    OutputFile file(target);
    if (file.open() && file.write(bytes) && file.commit())
        return {};
    return file.errorString();
}

bool OutputFile::fail(int error)
{
    const QString reason = systemReason(error);
    m_error = m_target == "-" ? QStringLiteral("write error: ") + reason
                              : QStringLiteral("cannot write %1: %2").arg(textFromRawBytes(m_target), reason);
    discard();
    return false;
}

bool OutputFile::failWithoutReader()
{
    m_error = QStringLiteral("cannot write %1: no process reads from this FIFO").arg(textFromRawBytes(m_target));
    m_noReader = true;
    discard();
    return false;
}

void OutputFile::discard()
{
    switch (m_way) {
    case Way::Closed:
    case Way::StandardOutput:
        break;
    case Way::InPlace:
        // Nothing was written to it: it stays as it was.
        m_held.clear();
        ::close(m_fd);
        break;
    case Way::Direct:
        ::close(m_fd);
        break;
    case Way::Replace: {
        const LeftoverCleanup::SignalsHeld held;
        ::close(m_fd);
        ::unlink(m_temporary.constData());
        LeftoverCleanup::forget();
        break;
    }
    }
    m_way = Way::Closed;
    m_fd = -1;
}

bool OutputFile::open()
{
    LeftoverCleanup::failWritesPastTheSizeLimit();
    if (m_target == "-") {
        // What the program may have put through stdio goes first.
        if (std::fflush(stdout) != 0)
            return fail(errno);
        m_way = Way::StandardOutput;
        m_fd = STDOUT_FILENO;
        return true;
    }
    if (m_target.isEmpty())
        return fail(ENOENT);
    // The descriptor as the shell set it up: with its offset and append mode,
    // whatever it is.
    if (const int own = ownDescriptor(m_target); own >= 0) {
        m_fd = ::fcntl(own, F_DUPFD_CLOEXEC, 3);
        if (m_fd < 0)
            return fail(errno);
        m_way = Way::Direct;
        return true;
    }

    struct stat status;
    if (::stat(m_target.constData(), &status) != 0) {
        const int error = errno;
        struct stat link;
        if (error != ENOENT)
            return fail(error);
        if (::lstat(m_target.constData(), &link) == 0)
            return openRegular(m_target, false);   // a dangling link: made where it points, as `>` would
        // A new name.
        m_final = m_target;
        return createTemporary(m_final, nullptr) || fail(errno);
    }
    if (S_ISDIR(status.st_mode))
        return fail(EISDIR);
    if (S_ISREG(status.st_mode))
        return openRegular(m_target, true);

    m_fd = S_ISSOCK(status.st_mode) ? connectToSocket(m_target)
                                    : openWithoutWaiting(m_target, O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (m_fd < 0)
        return errno == ENXIO && S_ISFIFO(status.st_mode) ? failWithoutReader() : fail(errno);
    m_way = Way::Direct;
    m_syncs = S_ISBLK(status.st_mode);
    return true;
}

bool OutputFile::openRegular(const QByteArray &path, bool mayReplace)
{
    // Written only where it could be written in place: the open says so for
    // its mode, its attributes and the file system.
    const int fd = openWithoutWaiting(path, O_WRONLY | O_CREAT | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return fail(errno);
    struct stat status;
    if (::fstat(fd, &status) != 0) {
        const int error = errno;
        ::close(fd);
        return fail(error);
    }
    m_syncs = true;
    // A link's target is replaced in its own folder, and the link stays.
    if (mayReplace && status.st_nlink == 1) {
        if (char *resolved = ::realpath(path.constData(), nullptr)) {
            m_final = resolved;
            std::free(resolved);
            if (createTemporary(m_final, &status)) {
                ::close(fd);
                return true;
            }
        }
    }
    m_fd = fd;
    m_way = Way::InPlace;
    return true;
}

bool OutputFile::createTemporary(const QByteArray &finalPath, const struct stat *existing)
{
    // Hidden, and short enough for any name the folder holds.
    const QByteArray stem = folderOf(finalPath) + "/." + nameOf(finalPath).left(200) + '.';
    int fd = -1;
    QByteArray temporary;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = stem + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        // Made and remembered at once, for a signal to find it.
        const LeftoverCleanup::SignalsHeld held;
        // A new file gets the mode the umask leaves, as any file made; one
        // that replaces another stays private until it has that one's mode.
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC,
                    existing ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
        if (fd >= 0)
            LeftoverCleanup::remember(temporary);
    }
    if (fd < 0)
        return false;
    if (existing) {
        struct stat made;
        bool kept = ::fstat(fd, &made) == 0;
        if (kept && (made.st_uid != existing->st_uid || made.st_gid != existing->st_gid)) {
            kept = ::fchown(fd, made.st_uid == existing->st_uid ? uid_t(-1) : existing->st_uid,
                            made.st_gid == existing->st_gid ? gid_t(-1) : existing->st_gid)
                   == 0;
        }
        // After the owner: a change of owner clears the set-user-ID bit.
        kept = kept && ::fchmod(fd, existing->st_mode & 07777) == 0;
        if (!kept) {
            const int error = errno;
            const LeftoverCleanup::SignalsHeld held;
            ::close(fd);
            ::unlink(temporary.constData());
            LeftoverCleanup::forget();
            errno = error;
            return false;
        }
    }
    m_fd = fd;
    m_temporary = temporary;
    m_way = Way::Replace;
    m_syncs = true;
    return true;
}

bool OutputFile::write(QByteArrayView bytes)
{
    if (m_way == Way::Closed)
        return false;
    if (m_way == Way::InPlace) {
        m_held.append(bytes);
        return true;
    }
    return writeFully(m_fd, bytes) || fail(errno);
}

bool OutputFile::commitInPlace()
{
    // Runs that write the file at once take turns, each writing it whole. The
    // lock is advisory and only a help: where the file system has none, the
    // file is written all the same.
    while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    // From here to the close the file is neither what it was nor the whole
    // output: a signal that ends the process waits until it is the output.
    const LeftoverCleanup::SignalsHeld held;
    if (::ftruncate(m_fd, 0) != 0 || !writeFully(m_fd, m_held) || ::fsync(m_fd) != 0) {
        const int error = errno;
        // Empty rather than half-written; the failure reported is the first.
        std::ignore = ::ftruncate(m_fd, 0);
        return fail(error);
    }
    m_held.clear();
    const int fd = m_fd;
    m_fd = -1;
    m_way = Way::Closed;
    if (::close(fd) != 0 && errno != EINTR) {
        const int error = errno;
        std::ignore = ::truncate(m_target.constData(), 0);
        return fail(error);
    }
    return true;
}

bool OutputFile::commit()
{
    if (m_way == Way::Closed)
        return false;
    if (m_way == Way::StandardOutput) {
        m_way = Way::Closed;
        return true;
    }
    if (m_way == Way::InPlace)
        return commitInPlace();
    if (m_syncs && ::fsync(m_fd) != 0)
        return fail(errno);
    const int fd = m_fd;
    const Way way = m_way;
    m_fd = -1;
    m_way = Way::Closed;
    const LeftoverCleanup::SignalsHeld held;
    // Linux closes the descriptor even when close() is interrupted.
    const bool closed = ::close(fd) == 0 || errno == EINTR;
    const int error = errno;
    if (way != Way::Replace)
        return closed || fail(error);
    if (!closed || ::rename(m_temporary.constData(), m_final.constData()) != 0) {
        const int failure = closed ? errno : error;
        ::unlink(m_temporary.constData());
        LeftoverCleanup::forget();
        return fail(failure);
    }
    LeftoverCleanup::forget();
    return true;
}

void reserveClosedStandardDescriptors()
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // Read-only for an output, write-only for the input: any use fails as on a closed one.
        const int opened = ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        if (opened >= 0 && opened != fd)
            ::close(opened);
    }
}
