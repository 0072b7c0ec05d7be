#include "lsp/links.h"

#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

// A file the checker looks for and finds: under its root, and a file as
// the session's files say (open in the editor, or on disk and no folder).
bool exists(const CheckContext &context, const FileReference &file)
{
    return !file.resolved.isEmpty() && !file.outsideRoot && context.fileExists(file.resolved);
}

} // namespace

QJsonValue definition(const DocumentAnalysis &analysis, qsizetype offset, const UriOfPath &uriOf)
{
    const CursorContext cursor = analysis.cursorAt(offset);
    if (!cursor.onTag())
        return QJsonValue::Null;
    const qsizetype index = cursor.node;
    const CheckContext &context = analysis.setup().context;
    // The path under the cursor; elsewhere on its tag, the tag's first path.
    const QList<FileReference> files = analysis.fileReferences();
    const FileReference *chosen = nullptr;
    for (const FileReference &file : files) {
        if (file.node == index && (file.path.contains(offset) || !chosen))
            chosen = &file;
    }
    if (!chosen || !exists(context, *chosen))
        return QJsonValue::Null;
    const QJsonObject start{{u"line"_s, 0}, {u"character"_s, 0}};
    return QJsonObject{{u"uri"_s, uriOf(chosen->resolved)}, {u"range"_s, QJsonObject{{u"start"_s, start}, {u"end"_s, start}}}};
}

QJsonArray documentLinks(const DocumentAnalysis &analysis, const PositionMapper &positions, const UriOfPath &uriOf)
{
    QJsonArray links;
    const CheckContext &context = analysis.setup().context;
    for (const FileReference &file : analysis.fileReferences()) {
        if (exists(context, file))
            links << QJsonObject{{u"range"_s, positions.range(file.path.start, file.path.length)},
                                 {u"target"_s, uriOf(file.resolved)},
                                 {u"tooltip"_s, file.resolved}};
    }
    return links;
}
