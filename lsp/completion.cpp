#include "lsp/completion.h"

#include "core/template/templatesyntax.h"
#include "lsp/catalogindex.h"
#include "core/files/jsonwriter.h"
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
        : m_analysis(analysis), m_text(analysis.text()), m_offset(offset), m_positions(positions), m_client(client),
          m_cursor(analysis.cursorAt(offset))
    {
    }

    QByteArray run()
    {
        switch (m_cursor.kind) {
        case CursorKind::Text:
        case CursorKind::TagName:
            // A new word is typed: ask again as it grows. Nothing typed,
            // nothing offered.
            m_incomplete = true;
            if (m_cursor.typed.length > 0)
                tagNames();
            break;
        case CursorKind::ClosingTag:
            closingTag();
            break;
        case CursorKind::AttributeName:
            if (const TagInfo *info = tagInfo())
                attributes(*info);
            break;
        case CursorKind::AttributeValue:
            if (const TagInfo *info = tagInfo())
                values(*info);
            break;
        case CursorKind::InTag:
        case CursorKind::Placeholder:
        case CursorKind::Php:
            break;
        }
        QByteArray list = m_incomplete ? "{\"isIncomplete\":true,\"items\":[" : "{\"isIncomplete\":false,\"items\":[";
        list.append(m_items);
        list.append("]}");
        return list;
    }

private:
    const TemplateNode &node() const { return m_analysis.parsed().nodes[m_cursor.node]; }
    const TagInfo *tagInfo() const { return m_analysis.knowledge().find(m_analysis.textOf(node().name)); }

    QJsonObject edit(qsizetype start, qsizetype end, const QString &newText) const
    {
        return {{u"range"_s, m_positions.range(start, end - start)}, {u"newText"_s, newText}};
    }

    // The closing tag of the innermost block open where it stands, in place
    // of the whole closing tag or of what is typed of it.
    void closingTag()
    {
        const qsizetype start = m_cursor.typed.start;
        const qsizetype block = m_analysis.blocks().blockAt(start);
        if (block < 0)
            return;
        const TemplateNode &open = m_analysis.parsed().nodes[m_analysis.blocks().blocks[block].open];
        const QString name = m_analysis.textOf(open.name).toString();
        const QString closing = u"{/"_s + name + u'}';
        const qsizetype end = m_cursor.node >= 0 ? node().range.end() : m_offset;
        add(QJsonObject{
            {u"label"_s, closing},
            {u"kind"_s, number(Kind::Keyword)},
            {u"detail"_s, u"结束 {%1}"_s.arg(name)},
            {u"filterText"_s, closing},
            {u"textEdit"_s, edit(start, end, closing)},
            {u"insertTextFormat"_s, number(Format::PlainText)},
        });
    }

    // The values the builders' drop-downs give, in place of the whole value.
    void values(const TagInfo &info)
    {
        const QString attribute = m_analysis.textOf(m_analysis.parsed().attributesOf(node())[m_cursor.attribute].name).toString();
        const qsizetype start = m_cursor.value.start;
        const qsizetype end = m_cursor.value.end();
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

    // The attributes the tag takes and does not have yet, in place of the
    // name typed; on a name already written, in place of all of it, its
    // value kept.
    void attributes(const TagInfo &info)
    {
        const qsizetype start = m_cursor.typed.start;
        const NodeParts<TagAttribute> has = m_analysis.parsed().attributesOf(node());
        const TagAttribute *current = m_cursor.attribute >= 0 ? &has[m_cursor.attribute] : nullptr;
        const qsizetype end = current ? current->name.end() : m_offset;
        const bool valued = current && current->hasValue();
        QStringList present;
        for (qsizetype i = 0; i < has.size(); ++i) {
            if (i != m_cursor.attribute)
                present << m_analysis.textOf(has[i].name).toString();
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
                {u"textEdit"_s, edit(start, end, valued ? name : m_client.snippets ? name + u"='$1'"_s : name + u"=''"_s)},
                {u"insertTextFormat"_s, insertFormat(m_client)},
            });
        }
    }

    // Every catalog item matching what was typed, in its place.
    void tagNames()
    {
        const CatalogIndex &index = CatalogIndex::instance();
        const QList<qsizetype> found = index.find(m_analysis.textOf(m_cursor.query).toString());
        const bool braced = m_cursor.braced(m_text);
        const CatalogCompletions &written = CatalogCompletions::forClient(m_client);
        QByteArray range;
        appendRange(range, m_cursor.typed.start, m_offset);
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
    const CursorContext m_cursor;
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
