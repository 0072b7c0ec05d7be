#include "shell/platform/displayreach.h"

#include "shell/platform/x11display.h"

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

bool connectsToSocket(const QByteArray &path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || size_t(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

} // namespace

QByteArray toolkitOptionValue(const QStringList &arguments, QLatin1StringView option)
{
    QByteArray value;
    for (qsizetype i = 0; i + 1 < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == u'-' + option || argument == QStringLiteral("--") + option)
            value = arguments[++i].toLocal8Bit();
    }
    return value;
}

QList<QByteArray> platformsToTry(const QStringList &arguments, const SessionEnvironment &environment)
{
    QByteArray platforms = toolkitOptionValue(arguments, QLatin1StringView("platform"));
    if (platforms.isEmpty())
        platforms = environment.qpaPlatform.trimmed();
    if (platforms.isEmpty())
        platforms = isWaylandSession(environment) ? QByteArrayLiteral("wayland;xcb") : QByteArrayLiteral("xcb");
    QList<QByteArray> names;
    for (const QByteArray &platform : platforms.split(';'))
        names << platform.split(':').first().trimmed();   // before its options
    return names;
}

QByteArray x11DisplayName(const QStringList &arguments, const SessionEnvironment &environment)
{
    const QByteArray display = toolkitOptionValue(arguments, QLatin1StringView("display"));
    return display.isEmpty() ? environment.x11Display : display;
}

SystemDisplays::SystemDisplays() = default;
SystemDisplays::~SystemDisplays() = default;

void SystemDisplays::release()
{
    m_x11.reset();
}

DisplayAnswers SystemDisplays::answers()
{
    return {[this](const QByteArray &display) {
                m_x11 = std::make_unique<X11Connection>(display);
                return m_x11->answers();
            },
            [](const QByteArray &name) {
                // A compositor that started the program may hand it a connected socket.
                if (!qEnvironmentVariableIsEmpty("WAYLAND_SOCKET"))
                    return true;
                const QByteArray display = name.isEmpty() ? QByteArrayLiteral("wayland-0") : name;
                if (display.startsWith('/'))
                    return connectsToSocket(display);
                const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
                return !runtime.isEmpty() && connectsToSocket(runtime + '/' + display);
            }};
}

QString unreachableDisplay(const QStringList &arguments, const SessionEnvironment &environment,
                           const DisplayAnswers &answers)
{
    // Qt's own choice where neither names one: Wayland where the session names it, and X11.
    const bool ownChoice = toolkitOptionValue(arguments, QLatin1StringView("platform")).isEmpty()
                           && environment.qpaPlatform.trimmed().isEmpty();
    const bool waylandSession = isWaylandSession(environment);
    const QByteArray x11Display = x11DisplayName(arguments, environment);

    QStringList why;
    for (const QByteArray &name : platformsToTry(arguments, environment)) {
        if (name == "xcb") {
            if (x11Display.isEmpty())
                why << QStringLiteral("no X11 display (DISPLAY is not set)");
            else if (answers.x11(x11Display))
                return {};
            else
                why << QStringLiteral("the X11 display %1 does not answer").arg(QString::fromLocal8Bit(x11Display));
        } else if (name.startsWith("wayland")) {
            if (answers.wayland(environment.waylandDisplay))
                return {};
            why << (environment.waylandDisplay.isEmpty()
                        ? QStringLiteral("no Wayland display (WAYLAND_DISPLAY is not set)")
                        : QStringLiteral("the Wayland display %1 does not answer")
                              .arg(QString::fromLocal8Bit(environment.waylandDisplay)));
        } else if (!name.isEmpty()) {
            return {};   // offscreen, vnc, eglfs, ...: Qt's to judge
        }
    }
    // Qt tries X11 alone there; the user may look for Wayland too.
    if (ownChoice && !waylandSession)
        why << QStringLiteral("no Wayland display (WAYLAND_DISPLAY is not set)");
    return why.join(QStringLiteral(", "));
}
