#include "shell/platform/singleinstance.h"

#include "shell/platform/displayreach.h"
#include "shell/platform/windowplatform.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The answer of the running tool once it has acted on a request.
const QByteArray kDone = QByteArrayLiteral("done\n");
// A request is a few words and a query, which the palette cuts at 65535
// characters; anything longer is no request of this program.
constexpr qsizetype kLongestRequest = 1 << 20;
// Starts wait this long for another start to become the tool: its
// QApplication, its home page. A busy machine can take seconds.
constexpr int kLockWaitMs = 20000;
// And this long for the running tool to answer.
constexpr int kAnswerWaitMs = 10000;

// ":0", ":0.0" and "unix:0" are the same display; the screen is no part of it.
QByteArray normalX11Display(const QByteArray &display)
{
    QByteArray name = display.trimmed();
    if (name.startsWith("unix:"))
        name.remove(0, 4);
    const qsizetype colon = name.lastIndexOf(':');
    const qsizetype dot = name.indexOf('.', colon < 0 ? 0 : colon);
    if (colon >= 0 && dot > colon)
        name.truncate(dot);
    return name;
}

// The socket's address; false where the path does not fit in one.
bool socketAddress(const QString &path, sockaddr_un *address)
{
    const QByteArray name = QFile::encodeName(path);
    *address = {};
    address->sun_family = AF_UNIX;
    if (name.isEmpty() || size_t(name.size()) >= sizeof address->sun_path)
        return false;
    std::memcpy(address->sun_path, name.constData(), size_t(name.size()));
    return true;
}

// Waits until `fd` is ready for `events` or `deadline` passes.
bool waitFor(int fd, short events, const QDeadlineTimer &deadline)
{
    for (;;) {
        pollfd ready{fd, events, 0};
        const int n = ::poll(&ready, 1, int(qMax<qint64>(deadline.remainingTime(), 0)));
        if (n >= 0 || errno != EINTR)
            return n > 0;
    }
}

// A connected, non-blocking socket to `path`, or -1 where nothing listens there.
int connectTo(const QString &path, const QDeadlineTimer &deadline)
{
    sockaddr_un address;
    if (!socketAddress(path, &address))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
        return fd;
    // A listener whose queue is full lets the connection wait.
    int error = 0;
    socklen_t length = sizeof error;
    if (errno == EAGAIN && waitFor(fd, POLLOUT, deadline)
        && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0)
        return fd;
    ::close(fd);
    return -1;
}

// Writes all of `bytes` before `deadline`.
bool writeAll(int fd, QByteArray bytes, const QDeadlineTimer &deadline)
{
    while (!bytes.isEmpty()) {
        const ssize_t written = ::send(fd, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL);
        if (written > 0)
            bytes.remove(0, written);
        else if ((written < 0 && errno != EAGAIN && errno != EINTR) || !waitFor(fd, POLLOUT, deadline))
            return false;
    }
    return true;
}

// What arrives up to the first line break, the end of the connection or `deadline`.
QByteArray readLine(int fd, const QDeadlineTimer &deadline)
{
    QByteArray line;
    char buffer[256];
    while (!line.endsWith('\n') && line.size() <= kLongestRequest) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0)
            line.append(buffer, n);
        else if (n == 0 || (errno != EAGAIN && errno != EINTR) || !waitFor(fd, POLLIN, deadline))
            break;
    }
    return line;
}

} // namespace

// One later start, connected: its request read as it comes, then answered.
class SingleInstance::Connection : public QObject
{
public:
    Connection(int fd, SingleInstance *tool) : QObject(tool), m_fd(fd), m_readable(fd, QSocketNotifier::Read, this)
    {
        connect(&m_readable, &QSocketNotifier::activated, this, [this, tool] { read(tool); });
    }
    ~Connection() override { ::close(m_fd); }

private:
    void read(SingleInstance *tool)
    {
        char buffer[4096];
        const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        if (n > 0)
            m_received.append(buffer, n);
        const qsizetype end = m_received.indexOf('\n');
        if (end < 0 && n > 0 && m_received.size() <= kLongestRequest)
            return;
        m_readable.setEnabled(false);
        // The start waits for the answer, so the request is carried out
        // first; a line that is no request is not answered.
        const std::optional<StartRequest> request
            = end < 0 ? std::nullopt : StartRequest::decode(m_received.left(end + 1));
        QPointer<Connection> guard(this);
        if (request)
            emit tool->requested(*request);
        if (!guard)
            return;
        if (request)
            ::send(m_fd, kDone.constData(), size_t(kDone.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
        deleteLater();
    }

    int m_fd;
    QSocketNotifier m_readable;
    QByteArray m_received;
};

StartRequest StartRequest::withTokensOfThisStart(bool search, const QString &searchText)
{
    return StartRequest{search, searchText, qgetenv("XDG_ACTIVATION_TOKEN"), qgetenv("DESKTOP_STARTUP_ID")};
}

QByteArray StartRequest::encode() const
{
    QJsonObject object;
    object.insert(QStringLiteral("search"), search);
    object.insert(QStringLiteral("searchText"), searchText);
    object.insert(QStringLiteral("activationToken"), QString::fromLatin1(activationToken.toBase64()));
    object.insert(QStringLiteral("startupId"), QString::fromLatin1(startupId.toBase64()));
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<StartRequest> StartRequest::decode(const QByteArray &line)
{
    if (!line.endsWith('\n'))
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const QJsonValue search = object.value(QStringLiteral("search"));
    const QJsonValue text = object.value(QStringLiteral("searchText"));
    const QJsonValue token = object.value(QStringLiteral("activationToken"));
    const QJsonValue startupId = object.value(QStringLiteral("startupId"));
    if (!search.isBool() || !text.isString() || !token.isString() || !startupId.isString())
        return std::nullopt;
    return StartRequest{search.toBool(), text.toString(), QByteArray::fromBase64(token.toString().toLatin1()),
                        QByteArray::fromBase64(startupId.toString().toLatin1())};
}

QString instanceSocketPath(const QStringList &arguments, const SessionEnvironment &environment)
{
    bool toADisplay = false;
    for (const QByteArray &platform : platformsToTry(arguments, environment))
        toADisplay = toADisplay || platform == "xcb" || platform.startsWith("wayland");
    if (!toADisplay)
        return {};
    // Both names: the tool may run through XWayland or on Wayland itself,
    // and every start in one session sees the same pair.
    const QByteArray displays = "x11=" + normalX11Display(x11DisplayName(arguments, environment))
                                + "\nwayland=" + environment.waylandDisplay.trimmed();
    const QByteArray key = QCryptographicHash::hash(displays, QCryptographicHash::Sha256).toHex().left(16);
    const uint user = ::getuid();
    // The runtime folder is the user's alone; the shared temporary folder is
    // the fallback where there is none, with the user in the name.
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("zuvi-taggen-%1-%2").arg(user).arg(QString::fromLatin1(key)));
}

SingleInstance::SingleInstance(QString socketPath) : m_path(std::move(socketPath)) {}

SingleInstance::~SingleInstance()
{
    closeServer();
}

SingleInstance::HandOver SingleInstance::handOver(const StartRequest &request)
{
    if (m_path.isEmpty())
        return HandOver::NoRunningTool;
    // A live start holds the lock only until it listens, however long that
    // takes; one that crashed holds it no more.
    // Where it cannot be had, this start goes on without: better two tools than none.
    m_lock.acquire(m_path + QStringLiteral(".lock"), kLockWaitMs);

    const QDeadlineTimer deadline(kAnswerWaitMs);
    const int fd = connectTo(m_path, deadline);
    if (fd < 0)
        return HandOver::NoRunningTool;
    m_lock.release();   // the running tool is found: others need not wait for this one

    const bool answered = writeAll(fd, request.encode(), deadline) && readLine(fd, deadline) == kDone;
    ::close(fd);
    return answered ? HandOver::Done : HandOver::Unanswered;
}

bool SingleInstance::listen()
{
    if (m_path.isEmpty())
        return true;   // nothing to listen for: each start runs on its own
    closeServer();
    sockaddr_un address;
    if (!socketAddress(m_path, &address)) {
        m_error = QStringLiteral("%1: the name is too long for a socket").arg(m_path);
        m_lock.release();
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    // Under the lock no other start listens, and handOver() found no tool
    // answering there: a socket file in the way is a crashed run's. The
    // socket is made under another name, for the user alone, and renamed
    // into place listening, so that no start ever finds it open to others.
    const QString made = m_lock.held() ? m_path + QStringLiteral(".%1").arg(::getpid()) : m_path;
    sockaddr_un madeAddress;
    const bool listening = fd >= 0 && socketAddress(made, &madeAddress)
        && (made == m_path || ::unlink(madeAddress.sun_path) == 0 || errno == ENOENT)
        && ::bind(fd, reinterpret_cast<const sockaddr *>(&madeAddress), sizeof madeAddress) == 0
        && ::chmod(madeAddress.sun_path, S_IRUSR | S_IWUSR) == 0 && ::listen(fd, SOMAXCONN) == 0
        && (made == m_path || ::rename(madeAddress.sun_path, address.sun_path) == 0);
    if (!listening) {
        m_error = QStringLiteral("%1: %2").arg(m_path, QString::fromLocal8Bit(std::strerror(errno)));
        if (made != m_path)
            ::unlink(madeAddress.sun_path);
        if (fd >= 0)
            ::close(fd);
        m_lock.release();
        return false;
    }
    m_listening = fd;
    m_incoming = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_incoming, &QSocketNotifier::activated, this, &SingleInstance::onNewConnection);
    m_lock.release();
    return true;
}

void SingleInstance::closeServer()
{
    if (m_listening < 0)
        return;
    delete m_incoming;
    m_incoming = nullptr;
    ::close(m_listening);
    m_listening = -1;
    // Later starts then find no tool instead of a socket nobody answers.
    ::unlink(QFile::encodeName(m_path).constData());
}

bool SingleInstance::StartLock::acquire(const QString &path, int waitMs)
{
    release();
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0)
        return false;
    // flock() cannot wait for a time; other starts hold it for moments.
    QElapsedTimer waited;
    waited.start();
    while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || waited.elapsed() >= waitMs) {
            release();
            return false;
        }
        QThread::msleep(5);
    }
    return true;
}

void SingleInstance::StartLock::release()
{
    if (m_fd >= 0)
        ::close(m_fd);   // lets go of the lock
    m_fd = -1;
}

QString SingleInstance::errorString() const
{
    return m_error;
}

void SingleInstance::onNewConnection()
{
    for (;;) {
        const int fd = ::accept4(m_listening, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            return;
        new Connection(fd, this);
    }
}
