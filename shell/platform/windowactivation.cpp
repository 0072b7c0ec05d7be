#include "shell/platform/windowactivation.h"

#include <QGuiApplication>
#include <QWindow>

quint32 launchTimeOfStartupId(const QByteArray &startupId)
{
    const qsizetype at = startupId.lastIndexOf("_TIME");
    if (at < 0)
        return 0;
    bool ok = false;
    const quint32 time = startupId.mid(at + 5).toUInt(&ok);
    return ok ? time : 0;
}

void activateForStart(QWindow *window, const QByteArray &activationToken, const QByteArray &startupId)
{
    if (!window)
        return;
    window->raise();
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        // Qt's Wayland platform takes the token from the environment when
        // asked to activate, and removes it; it must not reach programs the
        // tool starts either way.
        const QByteArray token = activationToken.isEmpty() ? startupId : activationToken;
        if (!token.isEmpty())
            qputenv("XDG_ACTIVATION_TOKEN", token);
        window->requestActivate();
        qunsetenv("XDG_ACTIVATION_TOKEN");
        return;
    }
    const QByteArray id = startupId.isEmpty() ? activationToken : startupId;
    // Qt stamps its own request with the time of the last input the tool
    // saw, which a window manager that prevents focus stealing refuses.
    if (!activateThroughX11WindowManager(window, launchTimeOfStartupId(id)))
        window->requestActivate();
    if (!id.isEmpty())
        endX11StartupNotification(window, id);
}
