#include "shell/platform/windowplatform.h"

#include <QCoreApplication>

SessionEnvironment SessionEnvironment::current()
{
    return SessionEnvironment{qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"), qgetenv("XDG_SESSION_TYPE"),
                              qgetenv("DISPLAY")};
}

bool isWaylandSession(const SessionEnvironment &environment)
{
    return !environment.waylandDisplay.isEmpty()
           || environment.sessionType.trimmed().toLower() == QByteArrayLiteral("wayland");
}

QByteArray preferredPlatform(const SessionEnvironment &environment)
{
    if (!environment.qpaPlatform.trimmed().isEmpty())
        return {};
    if (!isWaylandSession(environment) || environment.x11Display.trimmed().isEmpty())
        return {};
    return QByteArrayLiteral("xcb;wayland");
}

namespace {

// Runs inside the QApplication's constructor, after the platform has been
// created from the variable.
void forgetPlatformChoice()
{
    qunsetenv("QT_QPA_PLATFORM");
}

} // namespace

void choosePlatformForSession()
{
    const QByteArray platform = preferredPlatform(SessionEnvironment::current());
    if (platform.isEmpty())
        return;
    qputenv("QT_QPA_PLATFORM", platform);
    qAddPreRoutine(forgetPlatformChoice);
}
