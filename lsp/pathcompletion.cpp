#include "lsp/pathcompletion.h"

#include "core/templatesyntax.h"

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

// The path being typed at `offset`: from the value's opening quote, or the
// comma of a list before it, to the cursor.
std::optional<Typed> typedPath(QStringView text, const ParsedTemplate &parsed, qsizetype offset)
{
    for (const TemplateNode &node : parsed.nodes) {
        if (node.kind != NodeKind::Tag || node.form == TagForm::Close || !node.range.contains(offset))
            continue;
        const QStringView tag = text.sliced(node.name.start, node.name.length);
        for (const TagAttribute &attribute : node.attributes) {
            const TextRange &value = attribute.value;
            if (!attribute.quoted || offset <= value.start || offset > value.end()
                || !namesFile(tag, text.sliced(attribute.name.start, attribute.name.length)))
                continue;
            const QChar quote = text[value.start];
            if (offset == value.end() && value.length > 1 && text[value.end() - 1] == quote)
                continue;   // after the closing quote
            qsizetype start = offset;
            while (start > value.start + 1 && text[start - 1] != u',')
                --start;
            while (start < offset && text[start].isSpace())
                ++start;
            const QStringView name = templatesyntax::hasTagPrefix(tag) ? tag.sliced(templatesyntax::kTagPrefix.size()) : tag;
            return Typed{start, name == u"include"};
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<QJsonValue> pathCompletion(const DocumentAnalysis &analysis, qsizetype offset,
                                         const PositionMapper &positions)
{
    const QStringView text = analysis.text();
    const std::optional<Typed> typed = typedPath(text, analysis.parsed(), offset);
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
