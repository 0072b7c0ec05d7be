#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

#include <memory>

// A private Xvfb server for one run of a test suite or a benchmark: it picks
// a free display itself, is ready once it accepts connections, and ends with
// the object.
class XvfbServer
{
public:
    XvfbServer();
    ~XvfbServer();
    XvfbServer(const XvfbServer &) = delete;
    XvfbServer &operator=(const XvfbServer &) = delete;

    bool ready() const { return !m_display.isEmpty(); }
    QString error() const { return m_error; }
    QString display() const { return m_display; }   // ":N"

    // This process's environment with the windows of a program started in
    // it sent to this server, whatever platform this process itself uses.
    QProcessEnvironment environment() const;

private:
    std::unique_ptr<QProcess> m_server;
    QString m_display;
    QString m_error;
};
