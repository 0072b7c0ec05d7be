#include "lsp/completion.h"

#include "core/templatesyntax.h"
#include "lsp/catalogindex.h"
#include "lsp/protocol.h"

#include <QJsonArray>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

using protocol::number;
using Kind = protocol::CompletionItemKind;
using Format = protocol::InsertTextFormat;

const QString kPrefix = templatesyntax::kTagPrefix;
// Where an item of the catalog says which it is, for completionItem/resolve.
const QString kCatalogData = u"catalogItem"_s;

int insertFormat(const ClientSupport &client)
{
    return number(client.snippets ? Format::Snippet : Format::PlainText);
}

QJsonObject documentation(const ClientSupport &client, const QString &text, const QString &code)
{
    if (!client.completionMarkdown)
        return {{u"kind"_s, u"plaintext"_s}, {u"value"_s, text.isEmpty() ? code : text + u"\n\n"_s + code}};
    const QString fenced = u"```html\n"_s + code + u"\n```"_s;
    return {{u"kind"_s, u"markdown"_s}, {u"value"_s, text.isEmpty() ? fenced : text + u"\n\n"_s + fenced}};
}

class CompletionBuilder
{
public:
    CompletionBuilder(const DocumentAnalysis &analysis, qsizetype offset, const PositionMapper &positions,
                      const ClientSupport &client)
        : m_analysis(analysis), m_text(analysis.text()), m_offset(offset), m_positions(positions), m_client(client)
    {
    }

    QJsonObject run()
    {
        if (!closingTag() && !insideTag())
            inText();
        return {{u"isIncomplete"_s, m_incomplete}, {u"items"_s, m_items}};
    }

private:
    QChar at(qsizetype i) const { return i >= 0 && i < m_text.size() ? m_text[i] : QChar(); }

    QJsonObject edit(qsizetype start, qsizetype end, const QString &newText) const
    {
        return {{u"range"_s, m_positions.range(start, end - start)}, {u"newText"_s, newText}};
    }

    // "{/" and the start of a name before the cursor.
    bool closingTag()
    {
        qsizetype nameStart = m_offset;
        while (nameStart > 0 && (templatesyntax::isIdentifierChar(at(nameStart - 1)) || at(nameStart - 1) == u':'))
            --nameStart;
        if (at(nameStart - 1) != u'/' || at(nameStart - 2) != u'{')
            return false;
        const qsizetype start = nameStart - 2;
        const qsizetype block = m_analysis.blocks().blockAt(start);
        if (block < 0)
            return true;
        const TemplateNode &open = m_analysis.parsed().nodes[m_analysis.blocks().blocks[block].open];
        const QString name = m_analysis.textOf(open.name).toString();
        const QString closing = u"{/"_s + name + u'}';
        const qsizetype end = at(m_offset) == u'}' ? m_offset + 1 : m_offset;
        m_items << QJsonObject{
            {u"label"_s, closing},
            {u"kind"_s, number(Kind::Keyword)},
            {u"detail"_s, u"结束 {%1}"_s.arg(name)},
            {u"filterText"_s, closing},
            {u"textEdit"_s, edit(start, end, closing)},
            {u"insertTextFormat"_s, number(Format::PlainText)},
        };
        return true;
    }

    bool insideTag()
    {
        // PHP reaches up to the tag that ends it.
        const qsizetype before = m_analysis.nodeAt(m_offset - 1);
        if (before >= 0 && m_analysis.parsed().nodes[before].kind == NodeKind::Php)
            return true;
        const qsizetype index = m_analysis.nodeAt(m_offset);
        if (index < 0)
            return false;
        const TemplateNode &node = m_analysis.parsed().nodes[index];
        if (node.kind == NodeKind::Placeholder || node.kind == NodeKind::Php)
            return m_offset > node.range.start && m_offset < node.range.end();
        if (node.kind != NodeKind::Tag || node.form == TagForm::Close || m_offset <= node.range.start)
            return false;
        // Just after a tag's '}' is text again.
        if (m_offset == node.range.end() && at(m_offset - 1) == u'}')
            return false;
        if (m_offset <= node.name.end()) {
            tagNames(node.range.start, m_text.sliced(node.range.start, m_offset - node.range.start));
            return true;
        }
        const TagInfo *info = m_analysis.knowledge().find(m_analysis.textOf(node.name));
        for (const TagAttribute &attribute : node.attributes) {
            if (attribute.value.length == 0)
                continue;
            const qsizetype valueStart = attribute.value.start + (attribute.quoted ? 1 : 0);
            qsizetype valueEnd = attribute.value.end();
            if (attribute.quoted && attribute.value.length > 1 && at(valueEnd - 1) == at(attribute.value.start))
                --valueEnd;
            if (m_offset >= valueStart && m_offset <= valueEnd && (attribute.quoted || m_offset > attribute.value.start)) {
                if (info)
                    values(*info, m_analysis.textOf(attribute.name).toString(), valueStart, valueEnd);
                return true;
            }
        }
        if (info)
            attributes(*info, node);
        return true;
    }

    void values(const TagInfo &info, const QString &attribute, qsizetype start, qsizetype end)
    {
        const AttributeInfo *known = info.attribute(attribute);
        if (!known)
            return;
        for (const QString &value : known->values) {
            m_items << QJsonObject{
                {u"label"_s, value},
                {u"kind"_s, number(Kind::Value)},
                {u"detail"_s, u"{%1} 的属性 %2"_s.arg(info.name, attribute)},
                {u"textEdit"_s, edit(start, end, value)},
                {u"insertTextFormat"_s, number(Format::PlainText)},
            };
        }
    }

    void attributes(const TagInfo &info, const TemplateNode &node)
    {
        qsizetype start = m_offset;
        while (start > node.name.end() && templatesyntax::isAttributeChar(at(start - 1)))
            --start;
        QStringList present;
        for (const TagAttribute &attribute : node.attributes) {
            if (!attribute.name.contains(m_offset))
                present << m_analysis.textOf(attribute.name).toString();
        }
        for (const AttributeInfo &attribute : info.attributes) {   // sorted by name
            const QString &name = attribute.name;
            if (present.contains(name))
                continue;
            QString detail = u"{%1} 的属性"_s.arg(info.name);
            if (attribute.numeric)
                detail += u"，数字"_s;
            else if (!attribute.values.isEmpty())
                detail += u"："_s + attribute.values.join(u"、"_s);
            m_items << QJsonObject{
                {u"label"_s, name},
                {u"kind"_s, number(Kind::Property)},
                {u"detail"_s, detail},
                {u"textEdit"_s, edit(start, m_offset, m_client.snippets ? name + u"='$1'"_s : name + u"=''"_s)},
                {u"insertTextFormat"_s, insertFormat(m_client)},
            };
        }
    }

    // Plain text: a word typed, maybe after "{" or "{zuvi:".
    void inText()
    {
        qsizetype wordStart = m_offset;
        while (wordStart > 0 && (at(wordStart - 1).isLetterOrNumber() || at(wordStart - 1) == u'_'))
            --wordStart;
        const QString word = m_text.sliced(wordStart, m_offset - wordStart);
        qsizetype start = wordStart;
        const qsizetype prefixStart = wordStart - kPrefix.size();
        if (QStringView(m_text).first(wordStart).endsWith(kPrefix) && at(prefixStart - 1) == u'{') {
            start = prefixStart - 1;
        } else if (at(wordStart - 1) == u'{') {
            start = wordStart - 1;
        }
        // A new word is typed: ask again as it grows.
        m_incomplete = true;
        if (word.isEmpty() && start == wordStart)
            return;
        tagNames(start, m_text.sliced(start, m_offset - start));
    }

    // Every catalog item matching what was typed from `start` to the cursor.
    void tagNames(qsizetype start, const QString &typed)
    {
        QString query = typed;
        if (query.startsWith(u'{'))
            query.remove(0, 1);
        // After "{", "zu" is the prefix on its way, not a query.
        if (query.startsWith(kPrefix))
            query.remove(0, kPrefix.size());
        else if (kPrefix.startsWith(query) && typed.startsWith(u'{'))
            query.clear();
        const bool braced = typed.startsWith(u'{');
        const CatalogIndex &index = CatalogIndex::instance();
        const QList<qsizetype> found = index.find(query);
        m_incomplete = true;
        int rank = 0;
        for (const qsizetype i : found) {
            const CatalogItem &item = index.items()[i];
            QString bareName = item.tagName.startsWith(kPrefix) ? item.tagName.mid(kPrefix.size()) : item.tagName;
            QStringList words = {bareName, item.pinyin, item.initials, item.caption};
            words.removeAll(QString());
            const QString filter = (braced ? u'{' + kPrefix : QString()) + words.join(u' ');
            // The documentation, the largest part, comes by resolve.
            m_items << QJsonObject{
                {u"label"_s, item.caption},
                {u"kind"_s, number(Kind::Snippet)},
                {u"detail"_s, item.tagName.isEmpty() ? item.pageName : u"{%1} · %2"_s.arg(item.tagName, item.pageName)},
                {u"filterText"_s, filter},
                {u"sortText"_s, QString::number(rank++).rightJustified(5, u'0')},
                {u"textEdit"_s, edit(start, m_offset, m_client.snippets ? item.snippet : item.plainText)},
                {u"insertTextFormat"_s, insertFormat(m_client)},
                {u"data"_s, QJsonObject{{kCatalogData, double(i)}}},
            };
        }
    }

    const DocumentAnalysis &m_analysis;
    const QString &m_text;
    qsizetype m_offset;
    const PositionMapper &m_positions;
    const ClientSupport &m_client;
    QJsonArray m_items;
    bool m_incomplete = false;
};

} // namespace

QJsonObject completion(const DocumentAnalysis &analysis, qsizetype offset, const PositionMapper &positions,
                       const ClientSupport &client)
{
    return CompletionBuilder(analysis, offset, positions, client).run();
}

QJsonObject resolveCompletion(QJsonObject item, const ClientSupport &client)
{
    const QJsonValue index = item[u"data"_s][kCatalogData];
    const QList<CatalogItem> &catalog = CatalogIndex::instance().items();
    if (!index.isDouble() || index.toDouble() < 0 || index.toDouble() >= double(catalog.size()))
        return item;
    const CatalogItem &entry = catalog[qsizetype(index.toDouble())];
    item.insert(u"documentation"_s, documentation(client, entry.tip, entry.plainText));
    return item;
}
