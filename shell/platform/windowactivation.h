#pragma once

#include <QByteArray>

class QWindow;

// Brings a window of the program to the front for another start of it, with
// the token the desktop gave that start. Desktops keep a window that merely
// asks from taking the focus, but let the launch the user asked for have it.
// On Wayland the token is the activation token; on X11 the startup id, whose
// launch time stamps the request, and whose launch feedback (a busy pointer,
// an entry in the task bar) ends here, as the start that got it ends without
// a window. Either token stands for the other where only one came.
void activateForStart(QWindow *window, const QByteArray &activationToken, const QByteArray &startupId);

// The launch time in an X11 startup id ("..._TIME<n>"), or 0 where it has none.
quint32 launchTimeOfStartupId(const QByteArray &startupId);

// The X11 parts, with xcb; elsewhere they do nothing.
// Asks the window manager to activate `window`, stamped with `launchTime`;
// false where that cannot be done (not X11, no launch time, no window
// manager that activates windows on request), and Qt's own request is made
// instead.
bool activateThroughX11WindowManager(QWindow *window, quint32 launchTime);
// Tells X11 launchers that the start with this id is over.
void endX11StartupNotification(QWindow *window, const QByteArray &startupId);
