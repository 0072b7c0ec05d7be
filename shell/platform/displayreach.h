#pragma once

#include "shell/platform/windowplatform.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class X11Connection;

// Whether a display answers a connection, by its name as DISPLAY or
// WAYLAND_DISPLAY gives it. The program asks the system (SystemDisplays);
// tests give their own.
struct DisplayAnswers {
    std::function<bool(const QByteArray &x11Display)> x11;
    std::function<bool(const QByteArray &waylandDisplay)> wayland;   // empty: the default, wayland-0
};

// The system's answers. An X11 connection made to ask stays open until
// release(), to be called once the QApplication has its own connection.
class SystemDisplays
{
public:
    SystemDisplays();
    ~SystemDisplays();
    DisplayAnswers answers();
    void release();

private:
    std::unique_ptr<X11Connection> m_x11;
};

// The value given to the toolkit's option `option` (-option or --option
// followed by it, as Qt reads its own options), the last one given; empty if
// none.
QByteArray toolkitOptionValue(const QStringList &arguments, QLatin1StringView option);
// The names of the platforms Qt is about to try, in order: -platform among
// `arguments`, else QT_QPA_PLATFORM, else its own choice of X11 and Wayland.
QList<QByteArray> platformsToTry(const QStringList &arguments, const SessionEnvironment &environment);
// The X11 display the windows would go to: -display, else DISPLAY.
QByteArray x11DisplayName(const QStringList &arguments, const SessionEnvironment &environment);

// Why the windows cannot open, or empty where they can: the platforms Qt is
// about to try (platformsToTry()) are all X11 or Wayland, and none of their
// displays answers. Qt would end the program with an abort there; any other
// platform (offscreen, vnc, ...) is left to Qt. Asked before the
// QGuiApplication exists, which cannot be made without a display.
QString unreachableDisplay(const QStringList &arguments, const SessionEnvironment &environment,
                           const DisplayAnswers &answers);
