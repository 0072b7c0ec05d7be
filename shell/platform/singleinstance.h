#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

class QSocketNotifier;
struct SessionEnvironment;

// What a start of the program asks of the tool already running: to come to
// the front, with the token the desktop gave the start so that the desktop
// lets it take the focus, and maybe to open the search palette with a query.
struct StartRequest {
    bool search = false;
    QString searchText;
    QByteArray activationToken;   // XDG_ACTIVATION_TOKEN, for Wayland
    QByteArray startupId;         // DESKTOP_STARTUP_ID, X11 startup notification

    // This start's tokens, from its environment.
    static StartRequest withTokensOfThisStart(bool search, const QString &searchText);

    // One line on the socket; decode() refuses anything else.
    QByteArray encode() const;
    static std::optional<StartRequest> decode(const QByteArray &line);
    bool operator==(const StartRequest &) const = default;
};

// Where the running tool listens for later starts: one socket per user and
// per display the windows go to, in the user's runtime folder. Empty where
// they go to no display (a platform such as offscreen was chosen): each such
// start runs on its own.
QString instanceSocketPath(const QStringList &arguments, const SessionEnvironment &environment);

// One tool per user and display, through a local socket. A start first tries
// to hand over to the tool already running; failing that it becomes the tool
// and listens. The socket is spoken to with the system's calls: Qt's network
// library, with the dozen libraries it loads, would cost every start more
// than all the rest of this. From the first attempt until it listens it holds a lock
// beside the socket, so that of two starts at the same instant one becomes
// the tool and the other hands over to it, and a socket left by a crashed
// run can be removed without removing a live one.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // An empty path (instanceSocketPath() for no display): this start runs
    // on its own, and listens for none.
    explicit SingleInstance(QString socketPath);
    ~SingleInstance() override;

    enum class HandOver {
        Done,            // the running tool has acted on the request: this start ends
        NoRunningTool,   // this start is to become the tool (and holds the lock)
        Unanswered,      // a tool holds the socket but does not answer
    };
    // Needs no QCoreApplication: made before the QApplication, which a start
    // that hands over never makes.
    HandOver handOver(const StartRequest &request);

    // Listens for later starts and lets those that wait go on; once the
    // QApplication exists. A socket left by a crashed run is removed first.
    bool listen();
    // Why listen() failed.
    QString errorString() const;

signals:
    // A later start asked for `request`; it is told it was done once the
    // connected slots return.
    void requested(const StartRequest &request);

private:
    // A lock that the system lets go of when the process ends, however it
    // ends, so that none is ever left stale; taken without writing or
    // syncing anything on the way to the first window.
    class StartLock
    {
    public:
        StartLock() = default;
        ~StartLock() { release(); }
        StartLock(const StartLock &) = delete;
        StartLock &operator=(const StartLock &) = delete;
        bool acquire(const QString &path, int waitMs);
        void release();
        bool held() const { return m_fd >= 0; }

    private:
        int m_fd = -1;
    };

    class Connection;
    void onNewConnection();
    void closeServer();

    QString m_path;
    StartLock m_lock;
    int m_listening = -1;   // the socket listened on, or -1
    QSocketNotifier *m_incoming = nullptr;
    QString m_error;
};
