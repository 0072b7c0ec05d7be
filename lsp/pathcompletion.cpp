#include "lsp/pathcompletion.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

// CompletionItemKind of the protocol.
constexpr int kFile = 17;
constexpr int kFolder = 19;

struct Typed {
    qsizetype start = 0;   // of the path being typed, in the text
    bool include = false;
};

// The path being typed at the cursor, in a quoted value that names a file:
// from the opening quote, or the comma of a list before it, to the cursor.
std::optional<Typed> typedPath(const DocumentAnalysis &analysis, qsizetype offset)
{
    const CursorContext cursor = analysis.cursorAt(offset);
    if (cursor.kind != CursorKind::AttributeValue)
        return std::nullopt;
    const TemplateNode &node = analysis.parsed().nodes[cursor.node];
    const TagAttribute &attribute = analysis.parsed().attributesOf(node)[cursor.attribute];
    const QStringView tag = analysis.textOf(node.name);
    if (!attribute.quoted || !namesFile(tag, analysis.textOf(attribute.name)))
        return std::nullopt;
    const QStringView text = analysis.text();
    qsizetype start = offset;
    while (start > cursor.value.start && text[start - 1] != u',')
        --start;
    while (start < offset && text[start].isSpace())
        ++start;
    return Typed{start, tagName(text, node) == u"include"};
}

} // namespace

std::optional<QJsonValue> pathCompletion(const DocumentAnalysis &analysis, qsizetype offset,
                                         const PositionMapper &positions)
{
    const QStringView text = analysis.text();
    const std::optional<Typed> typed = typedPath(analysis, offset);
    if (!typed)
        return std::nullopt;
    const QStringView path = text.sliced(typed->start, offset - typed->start);
    if (path.contains(u'$') || path.contains(u'{'))
        return std::nullopt;   // an expression: no file to offer
    const CheckContext &context = analysis.setup().context;
    const bool fromSite = path.startsWith(u'/');
    const QString root = fromSite ? context.siteRoot : context.templateRoot;
    if (root.isEmpty())
        return QJsonValue(QJsonArray());
    const qsizetype slash = path.lastIndexOf(u'/');
    const QStringView folder = path.first(slash + 1);
    const QStringView typedName = path.sliced(slash + 1);
    const QDir listed(root + u'/' + folder.toString());
    const qsizetype nameStart = typed->start + slash + 1;
    const QJsonObject range = positions.range(nameStart, offset - nameStart);
    QJsonArray items;
    const auto add = [&](const QString &name, bool isFolder) {
        if (!name.startsWith(typedName, Qt::CaseInsensitive))
            return;
        const QString insert = isFolder ? name + u'/' : name;
        const QJsonObject item{{u"label"_s, insert},
                         {u"kind"_s, isFolder ? kFolder : kFile},
                         {u"sortText"_s, (isFolder ? u"0"_s : u"1"_s) + name},
                         {u"filterText"_s, name},
                         {u"textEdit"_s, QJsonObject{{u"range"_s, range}, {u"newText"_s, insert}}}};
        items << item;
    };
    for (const QString &name : listed.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        add(name, true);
    const QStringList templates{u"*.htm"_s, u"*.html"_s};
    for (const QString &name : listed.entryList(typed->include ? templates : QStringList(), QDir::Files, QDir::Name | QDir::IgnoreCase))
        add(name, false);
    return QJsonValue(QJsonObject{{u"isIncomplete"_s, false}, {u"items"_s, items}});
}
