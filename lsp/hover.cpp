#include "lsp/hover.h"

#include "lsp/catalogindex.h"

#include <QJsonObject>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Hover text, in Markdown or in plain text as the client takes it.
class HoverText
{
public:
    explicit HoverText(bool markdown) : m_markdown(markdown) {}

    void title(const QString &code, const QString &rest)
    {
        m_paragraphs << (m_markdown ? u"**`"_s + code + u"`**"_s : code) + (rest.isEmpty() ? QString() : u" "_s + rest);
    }
    void paragraph(const QString &text) { m_paragraphs << text; }
    void lines(const QStringList &lines) { m_paragraphs << lines.join(m_markdown ? u"  \n"_s : u"\n"_s); }
    QString code(const QString &text) const { return m_markdown ? u"`"_s + text + u'`' : text; }

    QJsonObject contents() const
    {
        return {{u"kind"_s, m_markdown ? u"markdown"_s : u"plaintext"_s}, {u"value"_s, m_paragraphs.join(u"\n\n"_s)}};
    }

private:
    bool m_markdown;
    QStringList m_paragraphs;
};

// How many catalog entries a tag's hover names before it only counts the rest.
constexpr qsizetype kEntriesShown = 6;

QString attributeSummary(const AttributeInfo &attribute, const HoverText &text)
{
    if (attribute.numeric)
        return text.code(attribute.name) + u"（数字）"_s;
    if (!attribute.values.isEmpty())
        return text.code(attribute.name) + u"（"_s + attribute.values.join(u"、"_s) + u"）"_s;
    return text.code(attribute.name);
}

QJsonObject tagHover(const DocumentAnalysis &analysis, const QString &name, HoverText &text)
{
    const TagInfo *info = analysis.knowledge().find(name);
    const QList<qsizetype> entries = CatalogIndex::instance().itemsWriting(name);
    if (!info && entries.isEmpty())
        return {};
    QString kind;
    if (info && info->block)
        kind = u"块标签，以 %1 结束"_s.arg(text.code(u"{/"_s + name + u'}'));
    else if (info)
        kind = u"单独使用的标签"_s;
    if (!TagKnowledge::catalog().find(name))
        kind += u"（本站 .zuvi-check.json 中声明）"_s;
    text.title(u'{' + name + u'}', kind);

    const QList<CatalogItem> &items = CatalogIndex::instance().items();
    for (qsizetype i = 0; i < std::min(entries.size(), kEntriesShown); ++i) {
        const CatalogItem &item = items[entries[i]];
        QStringList lines{u"%1 · %2"_s.arg(item.caption, item.pageName)};
        if (!item.tip.isEmpty())
            lines << item.tip;
        text.lines(lines);
    }
    if (entries.size() > kEntriesShown)
        text.paragraph(u"另有 %1 处用到此标签"_s.arg(entries.size() - kEntriesShown));

    if (info && !info->attributes.isEmpty()) {
        QStringList described;
        for (const AttributeInfo &attribute : info->attributes)   // sorted by name
            described << attributeSummary(attribute, text);
        text.paragraph(u"属性："_s + described.join(u"、"_s));
    }
    return text.contents();
}

QJsonObject attributeHover(const DocumentAnalysis &analysis, const QString &tag, const QString &attribute, HoverText &text)
{
    const TagInfo *info = analysis.knowledge().find(tag);
    const AttributeInfo *known = info ? info->attribute(attribute) : nullptr;
    if (!known)
        return {};
    text.title(attribute, u"{%1} 的属性"_s.arg(tag));
    if (known->numeric)
        text.paragraph(u"取值为数字"_s);
    if (!known->values.isEmpty()) {
        QStringList shown;
        for (const QString &value : known->values)
            shown << text.code(value);
        text.paragraph(u"可选值："_s + shown.join(u"、"_s));
    }
    return text.contents();
}

} // namespace

QJsonValue hover(const DocumentAnalysis &analysis, qsizetype offset, const PositionMapper &positions,
                 const ClientSupport &client)
{
    const CursorContext cursor = analysis.cursorAt(offset);
    if (!cursor.onTag())
        return QJsonValue::Null;
    const TemplateNode &node = analysis.parsed().nodes[cursor.node];
    const QString name = analysis.textOf(node.name).toString();
    HoverText text(client.hoverMarkdown);
    QJsonObject contents;
    TextRange range;
    if (cursor.kind == CursorKind::TagName || cursor.kind == CursorKind::ClosingTag) {
        contents = tagHover(analysis, name, text);
        range = node.name;
    } else if (cursor.attribute >= 0) {
        const TagAttribute &attribute = analysis.parsed().attributesOf(node)[cursor.attribute];
        contents = attributeHover(analysis, name, analysis.textOf(attribute.name).toString(), text);
        range = {attribute.name.start, std::max(attribute.name.end(), attribute.value.end()) - attribute.name.start};
    }
    if (contents.isEmpty())
        return QJsonValue::Null;
    return QJsonObject{{u"contents"_s, contents}, {u"range"_s, positions.range(range.start, range.length)}};
}
