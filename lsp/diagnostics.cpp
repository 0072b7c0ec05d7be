#include "lsp/diagnostics.h"

#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

// DiagnosticSeverity of the protocol.
int severityNumber(Severity severity)
{
    switch (severity) {
    case Severity::Error:
        return 1;
    case Severity::Warning:
        return 2;
    case Severity::Info:
        return 3;
    }
    return 1;
}

} // namespace

QJsonArray diagnostics(const DocumentAnalysis &analysis, const PositionMapper &positions)
{
    QJsonArray result;
    const QString source = u"zuvi-taggen"_s;
    if (!analysis.setup().configError.isEmpty()) {
        result << QJsonObject{
            {u"range"_s, positions.range(0, 0)},
            {u"severity"_s, 1},
            {u"code"_s, u"config"_s},
            {u"source"_s, source},
            {u"message"_s, u"检查配置有误：%1"_s.arg(analysis.setup().configError)},
        };
    }
    for (const Finding &finding : analysis.findings()) {
        result << QJsonObject{
            {u"range"_s, positions.range(finding.start, finding.length)},
            {u"severity"_s, severityNumber(finding.severity)},
            {u"code"_s, finding.code},
            {u"source"_s, source},
            {u"message"_s, finding.message},
        };
    }
    return result;
}
