#include "core/checkreport.h"

#include "core/product.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

namespace {

// What each format calls a severity: its own name, SARIF's level, GCC's
// word and GitHub's workflow command.
struct SeverityNames {
    const char *name;
    const char *sarif;
    const char *gcc;
    const char *github;
};

const SeverityNames &namesOf(Severity severity)
{
    static const SeverityNames error{"error", "error", "error", "error"};
    static const SeverityNames warning{"warning", "warning", "warning", "warning"};
    static const SeverityNames info{"info", "note", "note", "notice"};
    switch (severity) {
    case Severity::Error:
        return error;
    case Severity::Warning:
        return warning;
    case Severity::Info:
        break;
    }
    return info;
}

QString sarifLevel(Severity severity)
{
    return QString::fromLatin1(namesOf(severity).sarif);
}

// Workflow commands end at a line break and split properties at ':' and ','.
QString githubData(QString text)
{
    return text.replace(u'%', QLatin1String("%25")).replace(u'\r', QLatin1String("%0D")).replace(u'\n', QLatin1String("%0A"));
}

QString githubProperty(const QString &text)
{
    return githubData(text).replace(u':', QLatin1String("%3A")).replace(u',', QLatin1String("%2C"));
}

// A relative reference in SARIF's artifactLocation: the path's bytes
// percent-encoded, its slashes kept.
QString sarifUri(const QString &path)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(path, "/"));
}

} // namespace

std::optional<ReportFormat> reportFormatNamed(QStringView name)
{
    if (name == u"gcc")
        return ReportFormat::Gcc;
    if (name == u"json")
        return ReportFormat::Json;
    if (name == u"sarif")
        return ReportFormat::Sarif;
    if (name == u"github")
        return ReportFormat::Github;
    return std::nullopt;
}

QString severityName(Severity severity)
{
    return QString::fromLatin1(namesOf(severity).name);
}

CheckReport::CheckReport(ReportFormat format, ColumnUnit columns) : m_format(format), m_columns(columns) {}

void CheckReport::addFile(const QString &path, QStringView text, const QList<Finding> &findings)
{
    if (findings.isEmpty())
        return;
    const LineIndex lines(text);
    const ColumnUnit unit = m_format == ReportFormat::Sarif ? ColumnUnit::Utf16 : m_columns;
    for (const Finding &finding : findings) {
        const TextPosition start = lines.position(finding.start, unit);
        const TextPosition end = lines.position(finding.start + finding.length, unit);
        switch (m_format) {
        case ReportFormat::Gcc:
            // Built by joining, not QString::arg(), which would read a "%1"
            // in a path or message.
            m_output += (path + u':' + QString::number(start.line) + u':' + QString::number(start.column) + QLatin1String(": ")
                         + QLatin1String(namesOf(finding.severity).gcc)
                         + QLatin1String(": ") + finding.message + QLatin1String(" [") + finding.code + QLatin1String("]\n"))
                            .toUtf8();
            break;
        case ReportFormat::Github:
            m_output += (QLatin1String("::") + QLatin1String(namesOf(finding.severity).github) + QLatin1String(" file=") + githubProperty(path)
                         + QLatin1String(",line=") + QString::number(start.line) + QLatin1String(",col=")
                         + QString::number(start.column) + QLatin1String(",endLine=") + QString::number(end.line)
                         + QLatin1String(",endColumn=") + QString::number(end.column) + QLatin1String(",title=")
                         + githubProperty(finding.code) + QLatin1String("::") + githubData(finding.message) + u'\n')
                            .toUtf8();
            break;
        case ReportFormat::Json:
            m_results.append(QJsonObject{
                {QStringLiteral("path"), path},
                {QStringLiteral("line"), start.line},
                {QStringLiteral("column"), start.column},
                {QStringLiteral("endLine"), end.line},
                {QStringLiteral("endColumn"), end.column},
                {QStringLiteral("code"), finding.code},
                {QStringLiteral("severity"), severityName(finding.severity)},
                {QStringLiteral("message"), finding.message},
            });
            break;
        case ReportFormat::Sarif:
            m_results.append(QJsonObject{
                {QStringLiteral("ruleId"), finding.code},
                {QStringLiteral("level"), sarifLevel(finding.severity)},
                {QStringLiteral("message"), QJsonObject{{QStringLiteral("text"), finding.message}}},
                {QStringLiteral("locations"),
                 QJsonArray{QJsonObject{{QStringLiteral("physicalLocation"),
                                         QJsonObject{
                                             {QStringLiteral("artifactLocation"),
                                              QJsonObject{{QStringLiteral("uri"), sarifUri(path)}}},
                                             {QStringLiteral("region"),
                                              QJsonObject{
                                                  {QStringLiteral("startLine"), start.line},
                                                  {QStringLiteral("startColumn"), start.column},
                                                  {QStringLiteral("endLine"), end.line},
                                                  {QStringLiteral("endColumn"), end.column},
                                              }},
                                         }}}}},
            });
            break;
        }
    }
}

QByteArray CheckReport::takeOutput()
{
    return std::exchange(m_output, {});
}

QByteArray CheckReport::finish(const QList<CheckRule> &rules)
{
    QByteArray rest = takeOutput();
    if (m_format == ReportFormat::Json) {
        rest += QJsonDocument(m_results).toJson(QJsonDocument::Indented);
    } else if (m_format == ReportFormat::Sarif) {
        QJsonArray ruleList;
        for (const CheckRule &rule : rules) {
            ruleList.append(QJsonObject{
                {QStringLiteral("id"), rule.code},
                {QStringLiteral("shortDescription"), QJsonObject{{QStringLiteral("text"), rule.summary}}},
                {QStringLiteral("defaultConfiguration"), QJsonObject{{QStringLiteral("level"), sarifLevel(rule.severity)}}},
            });
        }
        const QJsonObject driver{
            {QStringLiteral("name"), QStringLiteral("zuvi-taggen")},
            {QStringLiteral("version"), productVersion()},
            {QStringLiteral("rules"), ruleList},
        };
        const QJsonObject run{
            {QStringLiteral("tool"), QJsonObject{{QStringLiteral("driver"), driver}}},
            {QStringLiteral("columnKind"), QStringLiteral("utf16CodeUnits")},
            {QStringLiteral("results"), m_results},
        };
        const QJsonObject log{
            {QStringLiteral("$schema"), QStringLiteral("https://json.schemastore.org/sarif-2.1.0.json")},
            {QStringLiteral("version"), QStringLiteral("2.1.0")},
            {QStringLiteral("runs"), QJsonArray{run}},
        };
        rest += QJsonDocument(log).toJson(QJsonDocument::Indented);
    }
    m_results = {};
    return rest;
}
