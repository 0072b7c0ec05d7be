#include "core/catalog/tagpage.h"

#include "core/catalog/pagecatalog.h"
#include "core/catalog/pagetable.h"
#include "core/catalog/pageview.h"
#include "core/catalog/snippet.h"

TagPage::TagPage(PageView &view, const PageCatalog &catalog) : m_view(view), m_catalog(catalog) {}

void TagPage::onEntryClicked(qint16 index)
{
    if (m_catalog.entry(index))
        m_view.present(snippet(index));
}

QString TagPage::snippet(qint16 index) const
{
    const CatalogControl *entry = m_catalog.entry(index);
    return entry ? snippetText(entry->lines) : QString();
}

QString initialOutputText(int page)
{
    return page == Page::Home ? QString() : QStringLiteral("\r\n\r\n       \r\n");
}

QString usageText()
{
    return QStringLiteral("使用说明：选择相应标签即可自动生成及复制到剪切板，你只需要粘贴即可。");
}
