#include "lsp/catalogindex.h"

#include "core/catalog/catalogtags.h"
#include "core/catalog/editorexport.h"
#include "core/catalog/pinyin.h"
#include "core/template/templateparser.h"

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
    // Templates, search items and tags all stand in the order of catalogTags().
    const QList<EditorTemplate> templates = catalogTemplates();
    const QList<CatalogTag> &tags = catalogTags();
    for (qsizetype i = 0; i < tags.size(); ++i) {
        const CatalogTag &tag = tags[i];
        CatalogItem item;
        item.caption = tag.caption;
        item.pageName = tag.pageName;
        item.tip = tag.tip;
        item.snippet = snippetBody(templates[i]).join(u'\n');
        item.plainText = insertedLines(templates[i]).join(u'\n');
        item.tagName = firstTagName(item.plainText);
        item.pinyin = pinyinWords(tag.caption).join(QString());
        item.initials = pinyinInitials(tag.caption);
        if (!item.tagName.isEmpty())
            m_byTag[item.tagName] << i;
        m_items << item;
    }
}
