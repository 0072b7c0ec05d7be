#include "lsp/catalogindex.h"

#include "core/catalogtags.h"
#include "core/editorexport.h"
#include "core/pagecatalog.h"
#include "core/pagetable.h"
#include "core/templateparser.h"

namespace {

QString firstTagName(const QString &code)
{
    const ParsedTemplate parsed = parseTemplate(code);
    for (const TemplateNode &node : parsed.nodes) {
        if (node.kind == NodeKind::Tag && node.form != TagForm::Close)
            return code.sliced(node.name.start, node.name.length);
    }
    return {};
}

} // namespace

const CatalogIndex &CatalogIndex::instance()
{
    static const CatalogIndex index;
    return index;
}

CatalogIndex::CatalogIndex() : m_search(TagSearch::forAllPages())
{
    // The editor templates, the search items and the tags are the same walk
    // over the catalog (forEachTag), so they stand in the same order.
    const QList<EditorTemplate> templates = catalogTemplates();
    forEachTag([&](const CatalogTag &tag) {
        const qsizetype i = m_items.size();
        if (i >= templates.size() || templates[i].caption != tag.caption || m_search.items()[i].caption != tag.caption)
            qFatal("The catalog's templates, search items and tags differ in order at %lld", qlonglong(i));
        const SearchItem &search = m_search.items()[i];
        CatalogItem item;
        item.caption = tag.caption;
        item.pageName = QString::fromUtf16(pageInfo(tag.page).caption);
        item.tip = tag.entry ? tag.entry->tip : QString();
        item.snippet = snippetBody(templates[i]).join(u'\n');
        item.plainText = insertedLines(templates[i]).join(u'\n');
        item.tagName = firstTagName(item.plainText);
        item.pinyin = search.captionWords.join(QString());
        item.initials = search.initials;
        if (!item.tagName.isEmpty())
            m_byTag[item.tagName] << i;
        m_items << item;
    });
}
