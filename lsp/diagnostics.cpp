#include "lsp/diagnostics.h"

#include "core/files/jsonwriter.h"
#include "core/product.h"
#include "core/check/severity.h"
#include "lsp/protocol.h"

using namespace Qt::StringLiterals;

namespace {

static_assert(lspSeverity(Severity::Error) == protocol::number(protocol::DiagnosticSeverity::Error)
              && lspSeverity(Severity::Warning) == protocol::number(protocol::DiagnosticSeverity::Warning)
              && lspSeverity(Severity::Info) == protocol::number(protocol::DiagnosticSeverity::Information));

void appendPosition(QByteArray &out, PositionMapper::Place place)
{
    out.append("{\"line\":");
    jsonwriter::appendNumber(out, place.line);
    out.append(",\"character\":");
    jsonwriter::appendNumber(out, place.character);
    out.append('}');
}

} // namespace

void DiagnosticEncoder::append(QByteArray &out, qsizetype start, qsizetype length, Said said,
                               const PositionMapper &positions, QHash<Said, QByteArray> &kept)
{
    out.append(out.isEmpty() ? "[" : ",");
    out.append("{\"range\":{\"start\":");
    appendPosition(out, positions.place(start));
    out.append(",\"end\":");
    appendPosition(out, positions.place(start + length));
    out.append('}');
    auto found = kept.find(said);
    if (found == kept.end()) {
        QByteArray rest;
        if (const auto written = m_written.constFind(said); written != m_written.cend()) {
            rest = *written;
        } else {
            rest.append(",\"severity\":");
            jsonwriter::appendNumber(rest, said.severity);
            rest.append(",\"code\":");
            jsonwriter::appendString(rest, said.code);
            rest.append(",\"source\":");
            jsonwriter::appendString(rest, programName());
            rest.append(",\"message\":");
            jsonwriter::appendString(rest, said.message);
            rest.append('}');
        }
        found = kept.insert(said, rest);
    }
    out.append(*found);
}

QByteArray DiagnosticEncoder::encode(const DocumentAnalysis &analysis, const PositionMapper &positions,
                                     const QList<Finding> &more)
{
    QByteArray out;
    // Only what this version says is kept, so that the cache follows the
    // document and not its history.
    QHash<Said, QByteArray> kept;
    if (!analysis.setup().configError().isEmpty()) {
        append(out, 0, 0,
               {u"config"_s, lspSeverity(Severity::Error),
                u"检查配置有误：%1"_s.arg(analysis.setup().configError())},
               positions, kept);
    }
    for (const Finding &finding : more) {
        append(out, finding.start, finding.length,
               {finding.code, lspSeverity(finding.severity), finding.message}, positions, kept);
    }
    for (const Finding &finding : analysis.findings()) {
        append(out, finding.start, finding.length,
               {finding.code, lspSeverity(finding.severity), finding.message}, positions, kept);
    }
    m_written = std::move(kept);
    if (out.isEmpty())
        return "[]";
    out.append(']');
    return out;
}
