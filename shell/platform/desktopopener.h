#pragma once

#include <QObject>
#include <QString>

class QUrl;

// Hands web addresses to the desktop's opener, which starts the user's
// browser, and reports how that went. The opener (xdg-open) is run and
// watched without waiting for it; it has failed if it cannot be started, or
// ends with an error or a crash within the first seconds. Without xdg-open,
// Qt's own opening is used and only its refusal counts as failure.
class DesktopOpener : public QObject
{
    Q_OBJECT
public:
    explicit DesktopOpener(QObject *parent = nullptr);

    // The program run with the address as its one argument; empty (the
    // default) means xdg-open, looked up at each opening. Tests put in a fake.
    void setProgram(const QString &program) { m_program = program; }
    // How long an opener may run and still report a failure; one running
    // longer has started a browser in the foreground. Tests shorten it.
    void setPatience(int milliseconds) { m_patienceMs = milliseconds; }

    void open(const QUrl &address);

signals:
    // Exactly one of these follows each open(), at once or when the opener
    // ends. A late failure counts as opened.
    void opened(const QUrl &address);
    void failed(const QUrl &address);

private:
    void startOpener(const QString &program, const QUrl &address);

    QString m_program;
    int m_patienceMs;
};
