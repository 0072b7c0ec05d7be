#include "shell/linkopener.h"

#include "shell/failurenotice.h"

#include <QUrl>
#include <QWidget>

LinkOpener::LinkOpener(QWidget *noticeWindow, Clipboard &clipboard)
    : QObject(noticeWindow), m_noticeWindow(noticeWindow), m_clipboard(clipboard), m_desktop(new DesktopOpener(this))
{
    connect(m_desktop, &DesktopOpener::opened, this, &LinkOpener::opened);
    connect(m_desktop, &DesktopOpener::failed, this, &LinkOpener::fail);
}

void LinkOpener::open(const QUrl &address)
{
    m_desktop->open(address);
}

void LinkOpener::fail(const QUrl &address)
{
    if (!m_notice) {
        m_notice = new FailureNotice(m_noticeWindow, QStringLiteral("OpenFailureNotice"), true);
        m_notice->offerDetailCopy(QStringLiteral("复制网址"), m_clipboard);
    }
    m_notice->showFailure(QStringLiteral("无法启动浏览器打开下面的网址，请复制网址后在浏览器中打开："),
                          address.toString());
    emit failed(address);
}
