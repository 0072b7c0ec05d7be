#include "core/checkconfig.h"

#include "core/checkreport.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>

namespace {

// "line:column" of a byte offset into the configuration's text.
QString placeOf(const QByteArray &json, qsizetype offset)
{
    offset = qBound<qsizetype>(0, offset, json.size());
    const QByteArrayView before(json.constData(), offset);
    const qsizetype lineStart = before.lastIndexOf('\n') + 1;
    const qsizetype line = before.count('\n') + 1;
    const qsizetype column = QString::fromUtf8(before.sliced(lineStart)).size() + 1;
    return QStringLiteral("%1:%2").arg(line).arg(column);
}

// Where a key stands in the text, for a message about it: its first
// occurrence as a quoted name, or the start of the file.
qsizetype offsetOfKey(const QByteArray &json, const QString &key)
{
    const qsizetype at = json.indexOf('"' + key.toUtf8() + '"');
    return at < 0 ? 0 : at;
}

// A glob of the ignore list as a regular expression over a path relative to
// the configuration's folder: '*' and '?' stay within a folder, "**/" stands
// for any folders. A glob without '/' matches a file name in any folder.
QRegularExpression globExpression(QString glob)
{
    if (!glob.contains(u'/'))
        glob.prepend(QLatin1String("**/"));
    QString expression;
    for (qsizetype i = 0; i < glob.size(); ++i) {
        const QChar c = glob[i];
        if (glob.sliced(i).startsWith(QLatin1String("**/"))) {
            expression += QLatin1String("(?:.*/)?");
            i += 2;
        } else if (glob.sliced(i).startsWith(QLatin1String("**"))) {
            expression += QLatin1String(".*");
            ++i;
        } else if (c == u'*') {
            expression += QLatin1String("[^/]*");
        } else if (c == u'?') {
            expression += QLatin1String("[^/]");
        } else {
            expression += QRegularExpression::escape(QString(c));
        }
    }
    return QRegularExpression(QRegularExpression::anchoredPattern(expression));
}

bool isStringList(const QJsonValue &value)
{
    if (!value.isArray())
        return false;
    for (const QJsonValue &item : value.toArray()) {
        if (!item.isString())
            return false;
    }
    return true;
}

QStringList toStringList(const QJsonValue &value)
{
    QStringList list;
    for (const QJsonValue &item : value.toArray())
        list << item.toString();
    return list;
}

bool matchesPrefix(const QString &code, const QStringList &prefixes)
{
    for (const QString &prefix : prefixes) {
        if (code.startsWith(prefix))
            return true;
    }
    return false;
}

} // namespace

std::optional<CheckConfig> CheckConfig::parse(const QByteArray &json, const QString &path, QString *error)
{
    auto fail = [&](qsizetype offset, const QString &what) -> std::optional<CheckConfig> {
        if (error)
            *error = path + u':' + placeOf(json, offset) + QLatin1String(": ") + what;
        return std::nullopt;
    };
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return fail(parseError.offset, parseError.errorString());
    if (!document.isObject())
        return fail(0, QStringLiteral("the configuration is a JSON object"));

    CheckConfig config;
    config.path = path;
    const QDir folder = QFileInfo(path).absoluteDir();
    const QJsonObject root = document.object();
    for (auto it = root.begin(); it != root.end(); ++it) {
        const QString key = it.key();
        const QJsonValue value = it.value();
        const qsizetype at = offsetOfKey(json, key);
        if (key == QLatin1String("templateRoot") || key == QLatin1String("siteRoot")) {
            if (!value.isString() || value.toString().isEmpty())
                return fail(at, QStringLiteral("\"%1\" is a folder's path").arg(key));
            const QString absolute = QDir::cleanPath(folder.absoluteFilePath(value.toString()));
            (key == QLatin1String("templateRoot") ? config.templateRoot : config.siteRoot) = absolute;
        } else if (key == QLatin1String("ignore")) {
            if (!isStringList(value))
                return fail(at, QStringLiteral("\"ignore\" is a list of file patterns"));
            config.ignore = toStringList(value);
        } else if (key == QLatin1String("severity")) {
            if (!value.isObject())
                return fail(at, QStringLiteral("\"severity\" maps codes to error, warning, info or off"));
            const QJsonObject severities = value.toObject();
            for (auto s = severities.begin(); s != severities.end(); ++s) {
                const QString name = s.value().toString();
                const std::optional<Severity> severity = severityNamed(name);
                if (s.key().isEmpty() || (!severity && name != QLatin1String("off")))
                    return fail(offsetOfKey(json, s.key()),
                                QStringLiteral("\"%1\": the severity is error, warning, info or off").arg(s.key()));
                const bool startsCode = std::any_of(checkRules().cbegin(), checkRules().cend(),
                                                    [&](const CheckRule &rule) { return rule.code.startsWith(s.key()); });
                if (!startsCode)
                    return fail(offsetOfKey(json, s.key()),
                                QStringLiteral("\"%1\" is no code nor the start of one (docs/checks.md lists them)")
                                    .arg(s.key()));
                config.severities.append({s.key(), severity});
            }
        } else if (key == QLatin1String("tags")) {
            if (!value.isArray())
                return fail(at, QStringLiteral("\"tags\" is a list of tags"));
            for (const QJsonValue &item : value.toArray()) {
                const QJsonObject tag = item.toObject();
                const QString name = tag.value(QLatin1String("name")).toString();
                if (!item.isObject() || name.isEmpty())
                    return fail(at, QStringLiteral("every tag in \"tags\" has a \"name\""));
                for (auto field = tag.begin(); field != tag.end(); ++field) {
                    const QString k = field.key();
                    const bool fits = (k == QLatin1String("name") && field.value().isString())
                                      || (k == QLatin1String("block") && field.value().isBool())
                                      || (k == QLatin1String("attributes") && isStringList(field.value()));
                    if (!fits)
                        return fail(offsetOfKey(json, k),
                                    QStringLiteral("tag \"%1\": \"%2\" is not one of name (text), block (true or "
                                                   "false), attributes (a list of names)")
                                        .arg(name, k));
                }
                SiteTag siteTag;
                siteTag.name = name.startsWith(QLatin1String("zuvi:")) ? name.mid(5) : name;
                siteTag.block = tag.value(QLatin1String("block")).toBool();
                siteTag.attributes = toStringList(tag.value(QLatin1String("attributes")));
                config.siteTags << siteTag;
            }
        } else {
            return fail(at, QStringLiteral("unknown key \"%1\"; the keys are templateRoot, siteRoot, ignore, "
                                           "severity and tags")
                                .arg(key));
        }
    }
    return config;
}

QString CheckConfig::find(const QString &file)
{
    QDir folder = QFileInfo(file).absoluteDir();
    for (;;) {
        const QString candidate = folder.filePath(QLatin1String(kFileName));
        if (QFileInfo(candidate).isFile())
            return candidate;
        if (!folder.cdUp())
            return QString();
    }
}

bool CheckConfig::ignores(const QString &file) const
{
    if (path.isEmpty() || ignore.isEmpty())
        return false;
    const QString relative = QFileInfo(path).absoluteDir().relativeFilePath(file);
    for (const QString &glob : ignore) {
        if (globExpression(glob).match(relative).hasMatch())
            return true;
    }
    return false;
}

QList<Finding> CheckConfig::applySeverities(QList<Finding> findings) const
{
    QList<Finding> kept;
    for (Finding &finding : findings) {
        qsizetype longest = -1;
        std::optional<Severity> chosen = finding.severity;
        for (const auto &[prefix, severity] : severities) {
            if (finding.code.startsWith(prefix) && prefix.size() > longest) {
                longest = prefix.size();
                chosen = severity;
            }
        }
        if (!chosen)
            continue;
        finding.severity = *chosen;
        kept << finding;
    }
    return kept;
}

bool CodeSelection::accepts(const QString &code) const
{
    return (select.isEmpty() || matchesPrefix(code, select)) && !matchesPrefix(code, ignore);
}
