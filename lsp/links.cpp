#include "lsp/links.h"

#include <QFileInfo>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

bool exists(const CheckContext &context, const QString &path)
{
    return context.fileExists ? context.fileExists(path) : QFileInfo::exists(path);
}

} // namespace

QJsonValue definition(const DocumentAnalysis &analysis, qsizetype offset, const UriOfPath &uriOf)
{
    const qsizetype index = analysis.nodeAt(offset);
    if (index < 0)
        return QJsonValue::Null;
    const CheckContext &context = analysis.setup().context;
    const QList<IncludedFile> files = includedFiles(analysis.text(), analysis.parsed().nodes[index], context);
    // The path under the cursor; on the value's quotes or blanks, its first path.
    const IncludedFile *chosen = nullptr;
    for (const IncludedFile &file : files) {
        if (file.range.contains(offset) || (!chosen && file.attribute.contains(offset)))
            chosen = &file;
    }
    if (!chosen || !exists(context, chosen->path))
        return QJsonValue::Null;
    const QJsonObject start{{u"line"_s, 0}, {u"character"_s, 0}};
    return QJsonObject{{u"uri"_s, uriOf(chosen->path)}, {u"range"_s, QJsonObject{{u"start"_s, start}, {u"end"_s, start}}}};
}

QJsonArray documentLinks(const DocumentAnalysis &analysis, const PositionMapper &positions, const UriOfPath &uriOf)
{
    QJsonArray links;
    const CheckContext &context = analysis.setup().context;
    for (const TemplateNode &node : analysis.parsed().nodes) {
        for (const IncludedFile &file : includedFiles(analysis.text(), node, context)) {
            if (exists(context, file.path))
                links << QJsonObject{{u"range"_s, positions.range(file.range.start, file.range.length)},
                                     {u"target"_s, uriOf(file.path)},
                                     {u"tooltip"_s, file.path}};
        }
    }
    return links;
}
