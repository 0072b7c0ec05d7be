#pragma once

#include "shell/platform/desktopopener.h"

#include <QObject>
#include <QPointer>
#include <QString>

class Clipboard;
class FailureNotice;
class QUrl;
class QWidget;

// Opens web addresses in the user's browser through the desktop's opener
// and tells the user when that did not happen: a notice over the given
// window shows the address with a button that copies it to `clipboard`.
class LinkOpener : public QObject
{
    Q_OBJECT
public:
    LinkOpener(QWidget *noticeWindow, Clipboard &clipboard);

    // The desktop's opener's test seams (DesktopOpener).
    void setProgram(const QString &program) { m_desktop->setProgram(program); }
    void setPatience(int milliseconds) { m_desktop->setPatience(milliseconds); }

    void open(const QUrl &address);

signals:
    // Exactly one of these follows each open(), as DesktopOpener's; the
    // notice is up before `failed` comes.
    void opened(const QUrl &address);
    void failed(const QUrl &address);

private:
    void fail(const QUrl &address);

    QWidget *m_noticeWindow;
    Clipboard &m_clipboard;
    DesktopOpener *m_desktop;
    QPointer<FailureNotice> m_notice;
};
