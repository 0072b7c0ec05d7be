#include "shell/platform/windowactivation.h"

bool activateThroughX11WindowManager(QWindow *, quint32)
{
    return false;
}

void endX11StartupNotification(QWindow *, const QByteArray &) {}
