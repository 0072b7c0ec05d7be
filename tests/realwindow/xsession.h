#pragma once

#include "tools/xvfbserver.h"

#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// The built program running on a private Xvfb server, driven from outside
// as a user would: xdotool moves the pointer, clicks and types; xclip reads
// the clipboard from another process.
class XSession
{
public:
    // Starts Xvfb on a free display and the program on it with `arguments`,
    // and waits for its window; the variables of `environment`
    // ("NAME=value") are added to its own and to every program the session
    // starts. An empty `program`: the server alone. Check ready(), and
    // error() for what went wrong.
    explicit XSession(const QString &program, const QStringList &environment = {},
                      const QStringList &arguments = {});
    ~XSession();

    bool ready() const { return m_ready; }
    QString error() const { return m_error; }

    // The top-left corner of the visible page window on the screen.
    std::optional<QPoint> visibleWindowOrigin();
    // Moves the visible page window, as a window manager does for the user;
    // false if there is no single visible page window.
    bool moveVisibleWindow(QPoint topLeft);
    // Waits until there is a single visible page window and its top-left
    // corner satisfies `wanted`, at most a few seconds; returns the last
    // corner seen.
    std::optional<QPoint> waitForVisibleWindow(const std::function<bool(QPoint)> &wanted);
    void click(QPoint screenPoint, int button = 1);   // 2: the middle button
    void type(const QString &text);
    // e.g. "BackSpace", "shift+Tab Return"; `delayMs` passes between keys.
    void key(const QString &keyNames, int delayMs = 60);
    // Reads the clipboard until it holds `expected` or a few seconds pass;
    // returns the last bytes read.
    QByteArray waitForClipboard(const QByteArray &expected, int timeoutMs = 4000);
    // After a keystroke: reads the clipboard until it holds something other
    // than `old` and returns that, or returns `old` once a few reads in a row
    // found it unchanged. The program must own the clipboard: it answers the
    // reads between its own events, so by the later reads it has handled a
    // key sent before the first.
    QByteArray clipboardChangedFrom(const QByteArray &old);
    QByteArray readClipboard();
    // Makes another program the owner of the X11 selection named `selection`
    // ("primary", "clipboard"), serving `text`; false if it does not take it.
    bool offerSelection(const QString &selection, const QByteArray &text);
    bool programRunning() const;
    // How many visible windows have the program's caption: the page, and any
    // notice it shows.
    int visibleWindowCount();

    // Sends the program a signal and waits for it to end: its exit code if
    // it exited, empty if it was killed or is still running.
    std::optional<int> endProgramWith(int signal, int timeoutMs = 10000);

    // Starts another X client on the display, ended with the session; waits
    // until it prints `readyLine`, if one is given. Null if it does not start
    // or never gets ready.
    QProcess *startClient(const QString &path, const QByteArray &readyLine = {}, const QStringList &arguments = {});
    // Runs a program on the display until it ends, with the variables of
    // `environment` added: its exit code, or empty if it did not end by
    // itself within `timeoutMs` (it is then killed).
    std::optional<int> runToEnd(const QString &path, const QStringList &arguments,
                                const QStringList &environment = {}, int timeoutMs = 20000);

    // The ids of the visible windows whose name matches `name`.
    QStringList visibleWindows(const QString &name = QStringLiteral("ZuviCMS"));
    // The top-level window under the pointer once it is moved to `screenPoint`.
    QString windowAt(QPoint screenPoint);
    // The window that has the keyboard focus.
    QString focusedWindow();
    // Presses the left button at `from`, moves the pointer in small steps to
    // `to` and releases it there, as a hand drags.
    void drag(QPoint from, QPoint to);

private:
    bool run(const QString &tool, const QStringList &arguments, QByteArray *output = nullptr,
             int timeoutMs = 5000);

    QProcessEnvironment environment() const;

    QString m_display;
    QStringList m_environment;
    std::unique_ptr<XvfbServer> m_server;
    std::unique_ptr<QProcess> m_program;
    std::vector<std::unique_ptr<QProcess>> m_clients;
    bool m_ready = false;
    QString m_error;
};
