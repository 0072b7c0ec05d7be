#include "tests/realwindow/xsession.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>
#include <csignal>

namespace {

// The program and the helper clients talk to the session's server only.
QProcessEnvironment environmentFor(const XvfbServer &server)
{
    QProcessEnvironment env = server.environment();
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}

} // namespace

XSession::XSession(const QString &program, const QStringList &environment, const QStringList &arguments)
    : m_environment(environment)
{
    m_server = std::make_unique<XvfbServer>();
    if (!m_server->ready()) {
        m_error = m_server->error();
        return;
    }
    m_display = m_server->display();
    if (program.isEmpty()) {
        m_ready = true;
        return;
    }

    m_program = std::make_unique<QProcess>();
    m_program->setProcessEnvironment(this->environment());
    m_program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // As started from a terminal: a test runner started in the background
    // ignores SIGINT, and its children would inherit that.
    m_program->setChildProcessModifier([] {
        for (const int number : {SIGTERM, SIGINT, SIGHUP})
            std::signal(number, SIG_DFL);
    });
    m_program->start(program, arguments);
    if (!m_program->waitForStarted()) {
        m_error = QStringLiteral("the program does not start: ") + program;
        return;
    }
    // Generous: the first start after a build may have to fill font caches
    // on a busy machine.
    QDeadlineTimer windowDeadline(40000);
    while (!windowDeadline.hasExpired()) {
        if (!programRunning()) {
            m_error = QStringLiteral("the program ended before showing a window (exit code %1) on %2")
                          .arg(m_program->exitCode())
                          .arg(m_display);
            return;
        }
        if (visibleWindowOrigin()) {
            m_ready = true;
            QThread::msleep(200);   // let the first paint settle before input
            return;
        }
        QThread::msleep(100);
    }
    m_error = QStringLiteral("no window appeared on ") + m_display;
}

XSession::~XSession()
{
    // The program and the clients first, while their server is still there.
    std::vector<QProcess *> processes{m_program.get()};
    for (const auto &client : m_clients)
        processes.push_back(client.get());
    for (QProcess *process : processes) {
        if (process && process->state() != QProcess::NotRunning) {
            process->terminate();
            if (!process->waitForFinished(3000)) {
                process->kill();
                process->waitForFinished(3000);
            }
        }
    }
    m_program.reset();
    m_server.reset();
}

QProcessEnvironment XSession::environment() const
{
    QProcessEnvironment env = environmentFor(*m_server);
    for (const QString &variable : m_environment)
        env.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    return env;
}

bool XSession::run(const QString &tool, const QStringList &arguments, QByteArray *output, int timeoutMs)
{
    QProcess process;
    process.setProcessEnvironment(m_server->environment());
    process.start(QStringLiteral("timeout"), QStringList{QString::number(timeoutMs / 1000.0), tool} + arguments);
    if (!process.waitForFinished(timeoutMs + 2000)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

std::optional<QPoint> XSession::visibleWindowOrigin()
{
    QByteArray ids;
    if (!run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                         QStringLiteral("--name"), QStringLiteral("ZuviCMS")}, &ids))
        return std::nullopt;
    const QList<QByteArray> windows = ids.trimmed().split('\n');
    if (windows.size() != 1 || windows.first().isEmpty())
        return std::nullopt;
    QByteArray geometry;
    if (!run(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"),
                                         QString::fromLatin1(windows.first())}, &geometry))
        return std::nullopt;
    int x = -1, y = -1;
    for (const QByteArray &line : geometry.split('\n')) {
        if (line.startsWith("X="))
            x = line.mid(2).toInt();
        else if (line.startsWith("Y="))
            y = line.mid(2).toInt();
    }
    if (x < 0 || y < 0)
        return std::nullopt;
    return QPoint(x, y);
}

bool XSession::moveVisibleWindow(QPoint topLeft)
{
    QByteArray ids;
    if (!run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                         QStringLiteral("--name"), QStringLiteral("ZuviCMS")}, &ids))
        return false;
    const QList<QByteArray> windows = ids.trimmed().split('\n');
    if (windows.size() != 1 || windows.first().isEmpty())
        return false;
    return run(QStringLiteral("xdotool"), {QStringLiteral("windowmove"), QString::fromLatin1(windows.first()),
                                           QString::number(topLeft.x()), QString::number(topLeft.y())});
}

std::optional<QPoint> XSession::waitForVisibleWindow(const std::function<bool(QPoint)> &wanted)
{
    QDeadlineTimer deadline(4000);
    std::optional<QPoint> origin;
    do {
        origin = visibleWindowOrigin();
        if (origin && wanted(*origin))
            break;
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return origin;
}

void XSession::click(QPoint p, int button)
{
    run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y()),
                                    QStringLiteral("sleep"), QStringLiteral("0.05"), QStringLiteral("click"),
                                    QString::number(button)});
}

void XSession::type(const QString &text)
{
    run(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), text});
}

void XSession::key(const QString &keyName, int delayMs)
{
    // Several keys may be given, separated by blanks: "Tab Tab space".
    run(QStringLiteral("xdotool"), QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QString::number(delayMs)}
                                       + keyName.split(u' ', Qt::SkipEmptyParts));
}

namespace {
const QByteArray kUnreadable("<clipboard unreadable>");
}

QByteArray XSession::readClipboard()
{
    QByteArray bytes;
    if (!run(QStringLiteral("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard")},
             &bytes, 2000))
        return kUnreadable;
    return bytes;
}

QByteArray XSession::waitForClipboard(const QByteArray &expected, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    QByteArray bytes;
    do {
        bytes = readClipboard();
        if (bytes == expected)
            return bytes;
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return bytes;
}

QByteArray XSession::clipboardChangedFrom(const QByteArray &old)
{
    // One read may be answered in the same turn of the program's event loop
    // that receives the key, before the key reaches its widget; the turns
    // after it have handled it.
    constexpr int kUnchangedReads = 3;
    int unchanged = 0;
    QDeadlineTimer deadline(4000);
    do {
        const QByteArray bytes = readClipboard();
        if (bytes == old) {
            if (++unchanged == kUnchangedReads)
                break;
        } else if (bytes != kUnreadable) {
            return bytes;
        }
        QThread::msleep(30);
    } while (!deadline.hasExpired());
    return old;
}

bool XSession::programRunning() const
{
    return m_program && m_program->state() == QProcess::Running;
}

int XSession::visibleWindowCount()
{
    QByteArray ids;
    // xdotool search exits with 1 when it finds nothing.
    run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                    QStringLiteral("ZuviCMS")},
        &ids);
    const QList<QByteArray> lines = ids.trimmed().split('\n');
    return int(std::count_if(lines.cbegin(), lines.cend(), [](const QByteArray &line) { return !line.isEmpty(); }));
}

std::optional<int> XSession::endProgramWith(int signal, int timeoutMs)
{
    if (!programRunning())
        return std::nullopt;
    ::kill(pid_t(m_program->processId()), signal);
    if (!m_program->waitForFinished(timeoutMs) || m_program->exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    return m_program->exitCode();
}

QProcess *XSession::startClient(const QString &path, const QByteArray &readyLine, const QStringList &arguments)
{
    auto client = std::make_unique<QProcess>();
    client->setProcessEnvironment(environment());
    client->setReadChannel(QProcess::StandardOutput);
    client->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    client->start(path, arguments);
    if (!client->waitForStarted())
        return nullptr;
    if (!readyLine.isEmpty()) {
        QByteArray printed;
        QDeadlineTimer deadline(10000);
        while (!printed.contains(readyLine) && !deadline.hasExpired() && client->state() == QProcess::Running) {
            client->waitForReadyRead(100);
            printed += client->readAllStandardOutput();
        }
        if (!printed.contains(readyLine))
            return nullptr;
    }
    m_clients.push_back(std::move(client));
    return m_clients.back().get();
}

bool XSession::offerSelection(const QString &selection, const QByteArray &text)
{
    // xclip stays in the foreground (-quiet) and serves the text until
    // another program takes the selection or the session ends.
    auto owner = std::make_unique<QProcess>();
    owner->setProcessEnvironment(environmentFor(*m_server));
    owner->setStandardOutputFile(QProcess::nullDevice());
    owner->start(QStringLiteral("xclip"), {QStringLiteral("-quiet"), QStringLiteral("-i"),
                                           QStringLiteral("-selection"), selection});
    if (!owner->waitForStarted())
        return false;
    owner->write(text);
    while (owner->bytesToWrite() > 0 && owner->waitForBytesWritten(4000)) {
    }
    owner->closeWriteChannel();
    m_clients.push_back(std::move(owner));
    QDeadlineTimer deadline(4000);
    do {
        QByteArray read;
        if (run(QStringLiteral("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"), selection}, &read, 2000)
            && read == text)
            return true;
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return false;
}

std::optional<int> XSession::runToEnd(const QString &path, const QStringList &arguments,
                                     const QStringList &environment, int timeoutMs)
{
    QProcess process;
    QProcessEnvironment env = this->environment();
    for (const QString &variable : environment)
        env.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(path, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    return process.exitCode();
}

QStringList XSession::visibleWindows(const QString &name)
{
    QByteArray ids;
    // xdotool search exits with 1 when it finds nothing.
    run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), name},
        &ids);
    return QString::fromLatin1(ids).split(u'\n', Qt::SkipEmptyParts);
}

QString XSession::windowAt(QPoint p)
{
    QByteArray location;
    run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y()),
                                    QStringLiteral("getmouselocation"), QStringLiteral("--shell")},
        &location);
    for (const QByteArray &line : location.split('\n')) {
        if (line.startsWith("WINDOW="))
            return QString::fromLatin1(line.mid(7));
    }
    return {};
}

QString XSession::focusedWindow()
{
    QByteArray id;
    run(QStringLiteral("xdotool"), {QStringLiteral("getwindowfocus"), QStringLiteral("-f")}, &id);
    return QString::fromLatin1(id.trimmed());
}

void XSession::drag(QPoint from, QPoint to)
{
    QStringList steps{QStringLiteral("mousemove"), QString::number(from.x()), QString::number(from.y()),
                      QStringLiteral("sleep"), QStringLiteral("0.1"), QStringLiteral("mousedown"), QStringLiteral("1")};
    // Small steps first, past any drag distance, then on to the target,
    // where a drop target needs a few moves to answer the source.
    constexpr int kSteps = 12;
    for (int i = 1; i <= kSteps; ++i) {
        const QPoint at = from + (to - from) * i / kSteps;
        steps << QStringLiteral("sleep") << QStringLiteral("0.05") << QStringLiteral("mousemove")
              << QString::number(at.x()) << QString::number(at.y());
    }
    for (int wiggle : {1, -1, 1}) {
        steps << QStringLiteral("sleep") << QStringLiteral("0.1") << QStringLiteral("mousemove")
              << QString::number(to.x() + wiggle) << QString::number(to.y());
    }
    steps << QStringLiteral("sleep") << QStringLiteral("0.2") << QStringLiteral("mouseup") << QStringLiteral("1");
    run(QStringLiteral("xdotool"), steps, nullptr, 10000);
}
