#pragma once

#include <QByteArray>

// What decides the windowing platform the program starts on.
struct SessionEnvironment {
    QByteArray qpaPlatform;      // QT_QPA_PLATFORM: the user's own choice
    QByteArray waylandDisplay;   // WAYLAND_DISPLAY
    QByteArray sessionType;      // XDG_SESSION_TYPE
    QByteArray x11Display;       // DISPLAY: set where XWayland serves X11 clients

    static SessionEnvironment current();
};

// Whether the session is a Wayland one: a Wayland display is named, or the
// session says so.
bool isWaylandSession(const SessionEnvironment &environment);

// The platform plugin list to ask Qt for, or empty where Qt's own choice
// stands. On a Wayland session the compositor places every window, so a page
// would open wherever the compositor likes on each navigation; through
// XWayland the pages keep the place of the page before. Where XWayland is
// not there, or the user chose a platform, Qt decides. Wayland stays the
// fallback should the X11 connection fail.
QByteArray preferredPlatform(const SessionEnvironment &environment);

// Applies preferredPlatform() to this process: call before the QApplication
// is constructed. The choice is not handed down to programs the tool starts
// (a browser for a link).
void choosePlatformForSession();
