#include "shell/platform/singleinstance.h"

#include "shell/platform/displayreach.h"
#include "shell/platform/windowplatform.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

#include <memory>

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
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

} // namespace

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

SingleInstance::~SingleInstance() = default;

SingleInstance::HandOver SingleInstance::handOver(const StartRequest &request)
{
    if (m_path.isEmpty())
        return HandOver::NoRunningTool;
    // A live start holds the lock only until it listens, however long that
    // takes; one that crashed holds it no more.
    // Where it cannot be had, this start goes on without: better two tools than none.
    m_lock.acquire(m_path + QStringLiteral(".lock"), kLockWaitMs);

    QLocalSocket socket;
    socket.connectToServer(m_path);
    if (!socket.waitForConnected(kAnswerWaitMs))
        return HandOver::NoRunningTool;
    m_lock.release();   // the running tool is found: others need not wait for this one

    socket.write(request.encode());
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(kAnswerWaitMs)) {
    }
    QByteArray answer;
    while (!answer.endsWith('\n') && socket.waitForReadyRead(kAnswerWaitMs))
        answer += socket.readAll();
    return answer == kDone ? HandOver::Done : HandOver::Unanswered;
}

bool SingleInstance::listen()
{
    if (m_path.isEmpty())
        return true;   // nothing to listen for: each start runs on its own
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    // Under the lock no other start listens, and handOver() found no tool
    // answering there: a socket file in the way is a crashed run's.
    if (m_lock.held())
        QLocalServer::removeServer(m_path);
    const bool listening = m_server->listen(m_path);
    m_lock.release();
    return listening;
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
    return m_server ? m_server->errorString() : QString();
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto received = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, received] {
            *received += socket->readAll();
            if (received->size() > kLongestRequest) {
                socket->abort();
                return;
            }
            if (!received->contains('\n'))
                return;
            QByteArray line = *received;
            line.truncate(line.indexOf('\n') + 1);
            const std::optional<StartRequest> request = StartRequest::decode(line);
            // The start waits for the answer, so the request is carried out
            // first; a line that is no request is not answered.
            QPointer<QLocalSocket> guard(socket);
            if (request)
                emit requested(*request);
            if (!guard)
                return;
            if (request)
                guard->write(kDone);
            guard->disconnectFromServer();
        });
    }
}
