#include "shell/tagpage.h"

#include "shell/pagecatalog.h"
#include "shell/pageview.h"
#include "shell/tagmechanism.h"

TagPage::TagPage(PageView &view, const PageCatalog &catalog, Selection selection)
    : m_view(view), m_catalog(catalog), m_selection(selection)
{
}

void TagPage::Option1_Click(qint16 index)
{
    if (m_selection == Selection::WalkEntries)
        selectExclusively(m_view, index);
    const CatalogControl *entry = m_catalog.entry(index);
    if (!entry)
        return;
    writeSnippet(m_view, entry->lines);
    copyToClipboard(m_view);
}

void TagPage::Option1_MouseMove(qint16 index)
{
    const CatalogControl *entry = m_catalog.entry(index);
    if (entry && !entry->tip.isEmpty())
        m_view.SetEntryTip(index, entry->tip);
}
