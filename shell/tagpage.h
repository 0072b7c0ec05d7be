#pragma once

#include <QtGlobal>

class PageCatalog;
class PageView;

// The behaviour of a tag page's catalog entries: a click selects the entry,
// writes its snippet and copies it; resting the mouse on an entry with a
// hover tip shows that tip. Works on any PageView, real or fake.
class TagPage
{
public:
    enum class Selection {
        WalkEntries,   // entries lie in several containers: clear them all ourselves
        ToolkitGroup,  // entries share one exclusive group that clears itself
    };

    TagPage(PageView &view, const PageCatalog &catalog, Selection selection);

    void Option1_Click(qint16 index);
    void Option1_MouseMove(qint16 index);

private:
    PageView &m_view;
    const PageCatalog &m_catalog;
    Selection m_selection;
};
