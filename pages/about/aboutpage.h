#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class PageWindow;
class FailureNotice;
class QLabel;
class QUrl;

// The about page: five links to the vendor's web pages, the vendor's user
// groups and a credit line, on a white page with its own icon. It has no tag
// entries and no output box, and it never touches the clipboard. A click on a
// link opens its address in the user's browser; if no browser can be
// started, a notice that does not block the program shows the address so
// that the user can copy it by hand.
class AboutPage : public QObject
{
    Q_OBJECT
public:
    explicit AboutPage(PageWindow *window);

    // Opens link Label2(index); indices outside 0..4 are ignored.
    void openLink(qint16 index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showOpenFailure(const QUrl &address);

    PageWindow *m_window;
    QList<QLabel *> m_links;   // Label2(0)..Label2(4)
    QPointer<FailureNotice> m_notice;
};

// The texts of the page that are not addresses.
QString aboutUserGroupsText();
QString aboutCreditText();
