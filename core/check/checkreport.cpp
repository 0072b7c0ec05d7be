#include "core/check/checkreport.h"

#include "core/product.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringBuilder>
#include <QStringList>
#include <QUrl>

#include <algorithm>
#include <utility>

namespace {

// The formats by the names --format takes, the default first.
constexpr std::pair<ReportFormat, const char *> kFormatNames[] = {
    {ReportFormat::Gcc, "gcc"}, {ReportFormat::Json, "json"}, {ReportFormat::Sarif, "sarif"}, {ReportFormat::Github, "github"}};

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

// SARIF's artifactLocation: a file URI for an absolute path; for a relative
// one, which code-scanning services resolve against the repository, a
// relative reference: the path's bytes percent-encoded, its slashes kept.
QString sarifUri(const QString &path)
{
    if (QDir::isAbsolutePath(path))
        return QUrl::fromLocalFile(QDir::cleanPath(path)).toString(QUrl::FullyEncoded);
    return QString::fromLatin1(QUrl::toPercentEncoding(QDir::cleanPath(path), "/"));
}

// One object on one line.
QByteArray compact(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QJsonObject sarifArtifact(const QString &path)
{
    return QJsonObject{{QStringLiteral("uri"), sarifUri(path)}};
}

// "block never closed" -> "BlockNeverClosed", SARIF's name of a rule.
QString ruleName(const QString &title)
{
    QString name;
    for (const QString &word : title.split(u' ', Qt::SkipEmptyParts))
        name += word.front().toUpper() + word.mid(1);
    return name;
}

QJsonObject sarifRule(const CheckRule &rule)
{
    const QJsonObject help{
        {QStringLiteral("text"), rule.description.simplified()},
        {QStringLiteral("markdown"), rule.description},
    };
    return QJsonObject{
        {QStringLiteral("id"), rule.code},
        {QStringLiteral("name"), ruleName(rule.title)},
        {QStringLiteral("shortDescription"), QJsonObject{{QStringLiteral("text"), rule.title}}},
        {QStringLiteral("fullDescription"), help},
        {QStringLiteral("help"), help},
        {QStringLiteral("defaultConfiguration"), QJsonObject{{QStringLiteral("level"), sarifLevel(rule.severity)}}},
    };
}

// The start and end of each finding, the findings' offsets visited in
// increasing order so that the text is walked once, however many findings
// share a line.
QList<std::pair<TextPosition, TextPosition>> placesOf(QStringView text, const QList<Finding> &findings, ColumnUnit unit)
{
    QList<std::pair<qsizetype, qsizetype>> offsets;   // offset, 2 × finding + (1 for its end)
    offsets.reserve(2 * findings.size());
    for (qsizetype i = 0; i < findings.size(); ++i) {
        offsets.append({findings[i].start, 2 * i});
        offsets.append({findings[i].start + findings[i].length, 2 * i + 1});
    }
    std::sort(offsets.begin(), offsets.end());
    QList<std::pair<TextPosition, TextPosition>> places(findings.size());
    ForwardPositions positions(text, unit);
    for (const auto &[offset, which] : offsets)
        (which % 2 ? places[which / 2].second : places[which / 2].first) = positions.position(offset);
    return places;
}

} // namespace

std::optional<ReportFormat> reportFormatNamed(QStringView name)
{
    for (const auto &[format, formatName] : kFormatNames) {
        if (name == QLatin1StringView(formatName))
            return format;
    }
    return std::nullopt;
}

QString reportFormatNames(QStringView separator)
{
    QStringList names;
    for (const auto &[format, name] : kFormatNames)
        names << QLatin1StringView(name);
    return names.join(separator);
}

CheckReport::CheckReport(ReportFormat format, ColumnUnit columns)
    : m_format(format), m_columns(columns)
{
    // The opening, up to the list of results: what comes after them is known
    // only at the end.
    if (m_format == ReportFormat::Json) {
        m_output = "[";
    } else if (m_format == ReportFormat::Sarif) {
        QJsonArray ruleList;
        for (const CheckRule &rule : checkRules())
            ruleList.append(sarifRule(rule));
        const QJsonObject driver{
            {QStringLiteral("name"), programName()},
            {QStringLiteral("version"), productVersion()},
            {QStringLiteral("rules"), ruleList},
        };
        QByteArray log = compact(QJsonObject{
            {QStringLiteral("$schema"), QStringLiteral("https://json.schemastore.org/sarif-2.1.0.json")},
            {QStringLiteral("version"), QStringLiteral("2.1.0")},
        });
        QByteArray run = compact(QJsonObject{
            {QStringLiteral("tool"), QJsonObject{{QStringLiteral("driver"), driver}}},
            {QStringLiteral("columnKind"), QStringLiteral("utf16CodeUnits")},
        });
        log.chop(1);
        run.chop(1);
        m_output = log + ",\"runs\":[" + run + ",\"results\":[";
    }
}

void CheckReport::appendResult(const QJsonObject &result)
{
    m_output += (m_results++ == 0 ? "\n" : ",\n") + compact(result);
}

void CheckReport::addFile(const QString &path, QStringView text, const QList<Finding> &findings)
{
    if (findings.isEmpty())
        return;
    const ColumnUnit unit = m_format == ReportFormat::Sarif ? ColumnUnit::Utf16 : m_columns;
    const QList<std::pair<TextPosition, TextPosition>> places = placesOf(text, findings, unit);
    for (qsizetype i = 0; i < findings.size(); ++i) {
        const Finding &finding = findings[i];
        const auto &[start, end] = places[i];
        switch (m_format) {
        case ReportFormat::Gcc: {
            // Built by joining, not QString::arg(), which would read a "%1"
            // in a path or message; joined with '%', which sizes the line
            // once instead of making a string at every '+'.
            const QString line = path % u':' % QString::number(start.line) % u':' % QString::number(start.column)
                % QLatin1String(": ") % QLatin1String(namesOf(finding.severity).gcc) % QLatin1String(": ")
                % finding.message % QLatin1String(" [") % finding.code % QLatin1String("]\n");
            m_output += line.toUtf8();
            break;
        }
        case ReportFormat::Github: {
            const QString line = QLatin1String("::") % QLatin1String(namesOf(finding.severity).github)
                % QLatin1String(" file=") % githubProperty(path) % QLatin1String(",line=") % QString::number(start.line)
                % QLatin1String(",col=") % QString::number(start.column) % QLatin1String(",endLine=")
                % QString::number(end.line) % QLatin1String(",endColumn=") % QString::number(end.column)
                % QLatin1String(",title=") % githubProperty(finding.code) % QLatin1String("::")
                % githubData(finding.message) % u'\n';
            m_output += line.toUtf8();
            break;
        }
        case ReportFormat::Json:
            appendResult(QJsonObject{
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
            appendResult(QJsonObject{
                {QStringLiteral("ruleId"), finding.code},
                {QStringLiteral("level"), sarifLevel(finding.severity)},
                {QStringLiteral("message"), QJsonObject{{QStringLiteral("text"), finding.message}}},
                {QStringLiteral("locations"),
                 QJsonArray{QJsonObject{{QStringLiteral("physicalLocation"),
                                         QJsonObject{
                                             {QStringLiteral("artifactLocation"), sarifArtifact(path)},
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
        flushIfLarge();
    }
}

void CheckReport::setSink(std::function<void(const QByteArray &)> sink)
{
    m_sink = std::move(sink);
}

void CheckReport::flushIfLarge()
{
    if (m_sink && m_output.size() >= kFlushSize)
        m_sink(takeOutput());
}

void CheckReport::addProblem(const QString &path, const QString &message)
{
    switch (m_format) {
    case ReportFormat::Gcc:
        m_output += QString(path % QLatin1String(": error: ") % message % u'\n').toUtf8();
        break;
    case ReportFormat::Github:
        m_output += QString(QLatin1String("::error file=") % githubProperty(path) % QLatin1String("::")
                            % githubData(message) % u'\n')
                        .toUtf8();
        break;
    case ReportFormat::Json:
        appendResult(QJsonObject{{QStringLiteral("path"), path}, {QStringLiteral("error"), message}});
        break;
    case ReportFormat::Sarif:
        m_problems.append(QJsonObject{
            {QStringLiteral("level"), QStringLiteral("error")},
            {QStringLiteral("message"), QJsonObject{{QStringLiteral("text"), message}}},
            {QStringLiteral("locations"),
             QJsonArray{QJsonObject{{QStringLiteral("physicalLocation"),
                                     QJsonObject{{QStringLiteral("artifactLocation"), sarifArtifact(path)}}}}}},
        });
        break;
    }
}

QByteArray CheckReport::takeOutput()
{
    return std::exchange(m_output, {});
}

QByteArray CheckReport::finish()
{
    if (m_format == ReportFormat::Json) {
        m_output += m_results ? "\n]\n" : "]\n";
    } else if (m_format == ReportFormat::Sarif) {
        const QJsonArray invocations{QJsonObject{
            {QStringLiteral("executionSuccessful"), m_problems.isEmpty()},
            {QStringLiteral("toolExecutionNotifications"), m_problems},
        }};
        m_output += (m_results ? "\n]" : "]") + QByteArray(",\"invocations\":")
            + QJsonDocument(invocations).toJson(QJsonDocument::Compact) + "}]}\n";
    }
    m_problems = {};
    return takeOutput();
}
