#include "lsp/completion.h"

#include "core/templatesyntax.h"
#include "lsp/catalogindex.h"
#include "core/jsonwriter.h"
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

// The catalog's items as a completion list writes them, all but their
// place and rank written once per kind of client: a list after "{zuvi:"
// offers every item, and building and serialising 126 JSON objects on each
// keystroke cost several milliseconds.
class CatalogCompletions
{
public:
    static const CatalogCompletions &forClient(const ClientSupport &client)
    {
        static const CatalogCompletions plain(false);
        static const CatalogCompletions snippets(true);
        return client.snippets ? snippets : plain;
    }

    // Item `i`, its filter text starting with "{zuvi:" where the typed
    // text does, ranked `rank`, replacing `range` (written).
    void append(QByteArray &out, qsizetype i, bool braced, int rank, const QByteArray &range) const
    {
        const Written &item = m_items[i];
        out.append(item.head);
        out.append(braced ? item.bracedFilter : item.filter);
        out.append(",\"sortText\":\"");
        out.append(QByteArray::number(rank).rightJustified(5, '0'));
        out.append("\",\"textEdit\":{\"range\":");
        out.append(range);
        out.append(item.tail);
    }

private:
    struct Written {
        QByteArray head;          // '{' up to "filterText":
        QByteArray filter;
        QByteArray bracedFilter;
        QByteArray tail;          // from the new text to the closing '}'
    };

    explicit CatalogCompletions(bool snippets)
    {
        const QList<CatalogItem> &items = CatalogIndex::instance().items();
        for (qsizetype i = 0; i < items.size(); ++i) {
            const CatalogItem &item = items[i];
            const QString bareName = item.tagName.startsWith(kPrefix) ? item.tagName.mid(kPrefix.size()) : item.tagName;
            QStringList words = {bareName, item.pinyin, item.initials, item.caption};
            words.removeAll(QString());
            Written written;
            written.head = "{\"label\":";
            jsonwriter::appendString(written.head, item.caption);
            written.head.append(",\"kind\":");
            jsonwriter::appendNumber(written.head, number(Kind::Snippet));
            written.head.append(",\"detail\":");
            jsonwriter::appendString(written.head, item.tagName.isEmpty() ? item.pageName
                                                                           : u"{%1} · %2"_s.arg(item.tagName, item.pageName));
            written.head.append(",\"filterText\":");
            jsonwriter::appendString(written.filter, words.join(u' '));
            jsonwriter::appendString(written.bracedFilter, u'{' + kPrefix + words.join(u' '));
            written.tail = ",\"newText\":";
            jsonwriter::appendString(written.tail, snippets ? item.snippet : item.plainText);
            written.tail.append("},\"insertTextFormat\":");
            jsonwriter::appendNumber(written.tail, number(snippets ? Format::Snippet : Format::PlainText));
            // The documentation, the largest part, comes by resolve.
            written.tail.append(",\"data\":{\"");
            written.tail.append(kCatalogData.toUtf8());
            written.tail.append("\":");
            jsonwriter::appendNumber(written.tail, i);
            written.tail.append("}}");
            m_items << written;
        }
    }

    QList<Written> m_items;
};

class CompletionBuilder
{
public:
    CompletionBuilder(const DocumentAnalysis &analysis, qsizetype offset, const PositionMapper &positions,
                      const ClientSupport &client)
        : m_analysis(analysis), m_text(analysis.text()), m_offset(offset), m_positions(positions), m_client(client)
    {
    }

    QByteArray run()
    {
        if (!closingTag() && !insideTag())
            inText();
        QByteArray list = m_incomplete ? "{\"isIncomplete\":true,\"items\":[" : "{\"isIncomplete\":false,\"items\":[";
        list.append(m_items);
        list.append("]}");
        return list;
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
        add(QJsonObject{
            {u"label"_s, closing},
            {u"kind"_s, number(Kind::Keyword)},
            {u"detail"_s, u"结束 {%1}"_s.arg(name)},
            {u"filterText"_s, closing},
            {u"textEdit"_s, edit(start, end, closing)},
            {u"insertTextFormat"_s, number(Format::PlainText)},
        });
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
            add(QJsonObject{
                {u"label"_s, value},
                {u"kind"_s, number(Kind::Value)},
                {u"detail"_s, u"{%1} 的属性 %2"_s.arg(info.name, attribute)},
                {u"textEdit"_s, edit(start, end, value)},
                {u"insertTextFormat"_s, number(Format::PlainText)},
            });
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
            add(QJsonObject{
                {u"label"_s, name},
                {u"kind"_s, number(Kind::Property)},
                {u"detail"_s, detail},
                {u"textEdit"_s, edit(start, m_offset, m_client.snippets ? name + u"='$1'"_s : name + u"=''"_s)},
                {u"insertTextFormat"_s, insertFormat(m_client)},
            });
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
        const CatalogCompletions &written = CatalogCompletions::forClient(m_client);
        QByteArray range;
        appendRange(range, start, m_offset);
        int rank = 0;
        for (const qsizetype i : found) {
            separate();
            written.append(m_items, i, braced, rank++, range);
        }
    }

    void separate()
    {
        if (!m_items.isEmpty())
            m_items.append(',');
    }
    void add(const QJsonObject &item)
    {
        separate();
        jsonwriter::appendValue(m_items, item);
    }
    void appendRange(QByteArray &out, qsizetype start, qsizetype end) const
    {
        const auto place = [&](qsizetype offset) {
            const PositionMapper::Place p = m_positions.place(offset);
            out.append("{\"line\":");
            jsonwriter::appendNumber(out, p.line);
            out.append(",\"character\":");
            jsonwriter::appendNumber(out, p.character);
            out.append('}');
        };
        out.append("{\"start\":");
        place(start);
        out.append(",\"end\":");
        place(end);
        out.append('}');
    }

    const DocumentAnalysis &m_analysis;
    const QString &m_text;
    qsizetype m_offset;
    const PositionMapper &m_positions;
    const ClientSupport &m_client;
    QByteArray m_items;   // written, apart by commas
    bool m_incomplete = false;
};

} // namespace

QByteArray completion(const DocumentAnalysis &analysis, qsizetype offset, const PositionMapper &positions,
                      const ClientSupport &client)
{
    return CompletionBuilder(analysis, offset, positions, client).run();
}

QJsonObject resolveCompletion(QJsonObject item, const ClientSupport &client)
{
    // Read without inserting: an item that is not the catalog's goes back as it came.
    const QJsonValue index = item.value(u"data"_s).toObject().value(kCatalogData);
    const QList<CatalogItem> &catalog = CatalogIndex::instance().items();
    if (!index.isDouble() || index.toDouble() < 0 || index.toDouble() >= double(catalog.size()))
        return item;
    const CatalogItem &entry = catalog[qsizetype(index.toDouble())];
    item.insert(u"documentation"_s, documentation(client, entry.tip, entry.plainText));
    return item;
}
