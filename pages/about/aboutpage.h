#pragma once

#include <QList>
#include <QObject>

class Clipboard;
class LinkOpener;
class PageWindow;
class QLabel;

// The about page: five links to the vendor's web pages, the vendor's user
// groups and a credit line, on a white page with its own icon. It has no tag
// entries and no output box, and it puts nothing on the clipboard by itself.
// A click on a link opens its address in the user's browser; if no browser
// can be started, a notice that does not block the program shows the address
// and copies it at the user's request.
class AboutPage : public QObject
{
    Q_OBJECT
public:
    // An address copied from the failure notice goes to `clipboard`.
    AboutPage(PageWindow *window, Clipboard &clipboard);

    // Opens link `index` (aboutlinks.h); indices outside 0..4 are ignored.
    void openLink(qint16 index);

    LinkOpener *linkOpener() const { return m_opener; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QLabel *> m_links;   // in the links' order
    LinkOpener *m_opener;
};

// The texts of the page that are not addresses.
QString aboutUserGroupsText();
QString aboutCreditText();
