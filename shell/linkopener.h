#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class FailureNotice;
class QUrl;
class QWidget;

// Opens web addresses in the user's browser and tells the user when that did
// not happen. The desktop's opener (xdg-open) is run and watched without
// waiting for it: if it cannot be started, or ends with an error or a crash
// within the first seconds, a notice over the given window shows the address
// with a button to copy it. Without xdg-open, Qt's own opening is used and
// only its refusal is noticed.
class LinkOpener : public QObject
{
    Q_OBJECT
public:
    explicit LinkOpener(QWidget *noticeWindow);

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
    void fail(const QUrl &address);

    QWidget *m_noticeWindow;
    QString m_program;
    int m_patienceMs;
    QPointer<FailureNotice> m_notice;
};
