#pragma once

#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// The built program running on a private Xvfb server, driven from outside
// as a user would: xdotool moves the pointer, clicks and types; xclip reads
// the clipboard from another process.
class XSession
{
public:
    // Starts Xvfb on a free display and the program on it; check ready(),
    // and error() for what went wrong.
    XSession(const QString &program);
    ~XSession();

    bool ready() const { return m_ready; }
    QString error() const { return m_error; }

    // The top-left corner of the visible page window on the screen.
    std::optional<QPoint> visibleWindowOrigin();
    void click(QPoint screenPoint);
    void type(const QString &text);
    void key(const QString &keyNames);   // e.g. "BackSpace", "shift+Tab Return"
    // Reads the clipboard until it holds `expected` or a few seconds pass;
    // returns the last bytes read.
    QByteArray waitForClipboard(const QByteArray &expected, int timeoutMs = 4000);
    QByteArray readClipboard();
    bool programRunning() const;

private:
    bool run(const QString &tool, const QStringList &arguments, QByteArray *output = nullptr,
             int timeoutMs = 5000);

    QString m_display;
    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<QProcess> m_program;
    bool m_ready = false;
    QString m_error;
};
