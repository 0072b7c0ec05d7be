#include "lsp/quickfixes.h"

#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

// What the checker's fix does, as the menu says it.
QString titleOf(const DocumentAnalysis &analysis, const Finding &finding)
{
    const TextEdit &first = finding.fix.constFirst();
    if (finding.replacement.isEmpty())
        return u"删除 %1"_s.arg(analysis.textOf({first.start, first.length}));
    return (first.length == 0 ? u"插入 "_s : u"改为 "_s) + finding.replacement;
}

} // namespace

QJsonArray quickFixes(const DocumentAnalysis &analysis, qsizetype start, qsizetype end, const PositionMapper &positions,
                      const QString &uri, const QJsonArray &clientDiagnostics)
{
    QJsonArray actions;
    for (const Finding &finding : analysis.findings()) {
        if (finding.start > end || finding.start + finding.length < start || !finding.hasFix())
            continue;
        QJsonArray textEdits;
        for (const TextEdit &edit : finding.fix)
            textEdits << QJsonObject{{u"range"_s, positions.range(edit.start, edit.length)}, {u"newText"_s, edit.text}};
        QJsonObject action{
            {u"title"_s, titleOf(analysis, finding)},
            {u"kind"_s, u"quickfix"_s},
            {u"isPreferred"_s, true},
            {u"edit"_s, QJsonObject{{u"changes"_s, QJsonObject{{uri, textEdits}}}}},
        };
        const QJsonObject range = positions.range(finding.start, finding.length);
        for (const QJsonValue &diagnostic : clientDiagnostics) {
            if (diagnostic[QLatin1StringView("code")] == finding.code && diagnostic[QLatin1StringView("range")] == range) {
                action.insert(u"diagnostics"_s, QJsonArray{diagnostic});
                break;
            }
        }
        actions << action;
    }
    return actions;
}
