#pragma once

#include <QString>
#include <QtGlobal>

class PageCatalog;
class PageView;

// What a click on one of a tag page's entries does: the entry's snippet goes
// into the output box and onto the clipboard. Selecting the entry is the
// view's business; an index without a snippet changes nothing here.
class TagPage
{
public:
    TagPage(PageView &view, const PageCatalog &catalog);

    void onEntryClicked(qint16 index);
    // The snippet of entry `index`, as a click puts it on the clipboard;
    // empty for an index without one.
    QString snippet(qint16 index) const;

private:
    PageView &m_view;
    const PageCatalog &m_catalog;
};

// The output box's text on a new page: empty on the home page, two empty
// lines and a line of seven blanks on the other tag pages.
QString initialOutputText(int page);

// The grey line at the foot of every tag page.
QString usageText();
