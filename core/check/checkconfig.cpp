#include "core/check/checkconfig.h"

#include "core/check/checkreport.h"
#include "core/check/checkrules.h"
#include "core/template/templatesyntax.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <QSet>

#include <algorithm>
#include <cstring>

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

// Where the values of a JSON text (one QJsonDocument found valid) stand,
// for a message about one of them: a tree beside the document's, in the
// text's order. Objects' keys are read here too, so that a key given twice,
// which QJsonObject would silently take the last of, is found.
struct JsonPlace {
    qsizetype at = 0;            // the value's first character
    QStringList keys;            // an object's keys, in the text's order
    QList<qsizetype> keyAt;      // where each key stands
    QList<JsonPlace> items;      // an object's values (in the order of its keys) or an array's items

    const JsonPlace *member(const QString &key) const
    {
        const qsizetype i = keys.indexOf(key);
        return i < 0 ? nullptr : &items[i];
    }
};

class JsonPlaces
{
public:
    explicit JsonPlaces(const QByteArray &json) : m_json(json) {}

    // The tree of the whole text; false, with `repeated` at the key given
    // a second time, where an object has a key twice.
    bool read(JsonPlace *root, qsizetype *repeated, QString *key)
    {
        m_pos = 0;
        return value(root, repeated, key);
    }

private:
    void skipBlanks()
    {
        while (m_pos < m_json.size() && (m_json[m_pos] == ' ' || m_json[m_pos] == '\t' || m_json[m_pos] == '\n'
                                         || m_json[m_pos] == '\r'))
            ++m_pos;
    }

    // A string's text, its escapes undone; m_pos on its opening quote.
    QString string()
    {
        QString text;
        qsizetype run = ++m_pos;
        while (m_pos < m_json.size() && m_json[m_pos] != '"') {
            if (m_json[m_pos] != '\\') {
                ++m_pos;
                continue;
            }
            text += QString::fromUtf8(m_json.constData() + run, m_pos - run);
            const char escaped = m_pos + 1 < m_json.size() ? m_json[m_pos + 1] : '\\';
            m_pos += 2;
            switch (escaped) {
            case 'b': text += u'\b'; break;
            case 'f': text += u'\f'; break;
            case 'n': text += u'\n'; break;
            case 'r': text += u'\r'; break;
            case 't': text += u'\t'; break;
            case 'u':
                text += QChar(char16_t(m_json.mid(m_pos, 4).toUShort(nullptr, 16)));
                m_pos += 4;
                break;
            default: text += QLatin1Char(escaped); break;
            }
            run = m_pos;
        }
        text += QString::fromUtf8(m_json.constData() + run, m_pos - run);
        ++m_pos;
        return text;
    }

    bool value(JsonPlace *place, qsizetype *repeated, QString *repeatedKey)
    {
        skipBlanks();
        place->at = m_pos;
        const char c = m_pos < m_json.size() ? m_json[m_pos] : '\0';
        if (c == '"') {
            string();
            return true;
        }
        if (c != '{' && c != '[') {
            while (m_pos < m_json.size() && !strchr(",]} \t\r\n", m_json[m_pos]))
                ++m_pos;
            return true;
        }
        ++m_pos;
        QSet<QString> seen;
        for (;;) {
            skipBlanks();
            if (m_pos >= m_json.size())
                return true;
            if (m_json[m_pos] == ',') {
                ++m_pos;
                continue;
            }
            if (m_json[m_pos] == '}' || m_json[m_pos] == ']') {
                ++m_pos;
                return true;
            }
            if (c == '{') {
                const qsizetype keyAt = m_pos;
                const QString key = string();
                if (!insertedNew(seen, key)) {
                    *repeated = keyAt;
                    *repeatedKey = key;
                    return false;
                }
                place->keys.append(key);
                place->keyAt.append(keyAt);
                skipBlanks();
                ++m_pos;   // the ':'
            }
            place->items.append(JsonPlace{});
            if (!value(&place->items.last(), repeated, repeatedKey))
                return false;
        }
    }

    static bool insertedNew(QSet<QString> &set, const QString &key)
    {
        const qsizetype before = set.size();
        set.insert(key);
        return set.size() > before;
    }

    const QByteArray &m_json;
    qsizetype m_pos = 0;
};

// Whether `name` is what the template parser reads as a tag's name, with
// the "zuvi:" prefix put before it where it has none.
bool isTagName(const QString &name)
{
    const QString full = templatesyntax::hasTagPrefix(name) ? name : templatesyntax::kTagPrefix + name;
    return full.size() > templatesyntax::kTagPrefix.size() && templatesyntax::tagNameEnd(full, 0) == full.size();
}

bool isAttributeName(const QString &name)
{
    return !name.isEmpty() && std::all_of(name.cbegin(), name.cend(), templatesyntax::isAttributeChar);
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

// One tag of "tags": {"name": …, "block": …, "attributes": […]}. `fail`
// says what is wrong at an offset.
template <typename Fail>
std::optional<SiteTag> siteTagOf(const QJsonValue &item, const JsonPlace &place, const Fail &fail)
{
    const QJsonObject tag = item.toObject();
    const QString name = tag.value(QLatin1String("name")).toString();
    if (!item.isObject() || name.isEmpty()) {
        fail(place.at, QStringLiteral("every tag in \"tags\" has a \"name\""));
        return std::nullopt;
    }
    for (qsizetype k = 0; k < place.keys.size(); ++k) {
        const QString &field = place.keys[k];
        const QJsonValue value = tag.value(field);
        const bool fits = (field == QLatin1String("name") && value.isString())
                          || (field == QLatin1String("block") && value.isBool())
                          || (field == QLatin1String("attributes") && isStringList(value));
        if (!fits) {
            fail(place.keyAt[k], QStringLiteral("tag \"%1\": \"%2\" is not one of name (text), block (true or "
                                                "false), attributes (a list of names)")
                                     .arg(name, field));
            return std::nullopt;
        }
    }
    if (!isTagName(name)) {
        fail(place.member(QStringLiteral("name"))->at,
             QStringLiteral("\"%1\" is no tag name: letters, digits and _ after an optional zuvi:, not starting "
                            "with a digit")
                 .arg(name));
        return std::nullopt;
    }
    SiteTag siteTag;
    siteTag.name = templatesyntax::hasTagPrefix(name) ? name.mid(templatesyntax::kTagPrefix.size()) : name;
    siteTag.block = tag.value(QLatin1String("block")).toBool();
    siteTag.attributes = toStringList(tag.value(QLatin1String("attributes")));
    for (qsizetype i = 0; i < siteTag.attributes.size(); ++i) {
        if (!isAttributeName(siteTag.attributes[i])) {
            fail(place.member(QStringLiteral("attributes"))->items[i].at,
                 QStringLiteral("tag \"%1\": \"%2\" is no attribute name: letters, digits, _, -, : and .")
                     .arg(name, siteTag.attributes[i]));
            return std::nullopt;
        }
    }
    return siteTag;
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
    const QString notAnObject = QStringLiteral("the configuration is a JSON object");
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        // Qt takes only an object or an array: a lone value, null or a
        // number, is valid JSON all the same, and just not an object.
        qsizetype start = 0;
        while (start < json.size() && QChar::isSpace(uchar(json[start])))
            ++start;
        if (start == json.size())
            return fail(0, QStringLiteral("the configuration is empty; it is a JSON object, {} at the least"));
        if (json[start] != '{' && json[start] != '['
            && QJsonDocument::fromJson('[' + json + ']', &parseError).isArray())
            return fail(start, notAnObject);
        return fail(parseError.offset, parseError.errorString());
    }
    if (!document.isObject())
        return fail(0, notAnObject);
    JsonPlace places;
    qsizetype repeated = 0;
    QString repeatedKey;
    if (!JsonPlaces(json).read(&places, &repeated, &repeatedKey))
        return fail(repeated, QStringLiteral("\"%1\" is given twice").arg(repeatedKey));

    CheckConfig config;
    config.path = path;
    const QDir folder = QFileInfo(path).absoluteDir();
    const QJsonObject root = document.object();
    for (qsizetype k = 0; k < places.keys.size(); ++k) {
        const QString &key = places.keys[k];
        const QJsonValue value = root.value(key);
        const JsonPlace &place = places.items[k];
        const qsizetype at = places.keyAt[k];
        if (key == QLatin1String("templateRoot") || key == QLatin1String("siteRoot")) {
            if (!value.isString() || value.toString().isEmpty())
                return fail(at, QStringLiteral("\"%1\" is a folder's path").arg(key));
            const QString absolute = QDir::cleanPath(folder.absoluteFilePath(value.toString()));
            (key == QLatin1String("templateRoot") ? config.templateRoot : config.siteRoot) = absolute;
        } else if (key == QLatin1String("ignore")) {
            if (!isStringList(value))
                return fail(at, QStringLiteral("\"ignore\" is a list of file patterns"));
            const QJsonArray patterns = value.toArray();
            for (qsizetype i = 0; i < patterns.size(); ++i) {
                const QString glob = patterns[i].toString();
                if (glob.size() > kMaxPatternLength)
                    return fail(place.items[i].at, QStringLiteral("an ignore pattern is at most %1 characters long; "
                                                                 "this one has %2")
                                                       .arg(kMaxPatternLength)
                                                       .arg(glob.size()));
                if (glob.isEmpty())
                    return fail(place.items[i].at, QStringLiteral("an ignore pattern is never empty"));
                QRegularExpression expression = globExpression(glob);
                if (!expression.isValid())
                    return fail(place.items[i].at,
                                QStringLiteral("the ignore pattern cannot be used: %1").arg(expression.errorString()));
                expression.optimize();
                config.ignore << glob;
                config.m_ignoreExpressions << expression;
            }
        } else if (key == QLatin1String("severity")) {
            if (!value.isObject())
                return fail(at, QStringLiteral("\"severity\" maps codes to error, warning, info or off"));
            const QJsonObject severities = value.toObject();
            for (qsizetype i = 0; i < place.keys.size(); ++i) {
                const QString &code = place.keys[i];
                const QString name = severities.value(code).toString();
                const std::optional<Severity> severity = severityNamed(name);
                if (code.isEmpty() || (!severity && name != QLatin1String("off")))
                    return fail(place.keyAt[i],
                                QStringLiteral("\"%1\": the severity is error, warning, info or off").arg(code));
                if (!startsSomeCode(code))
                    return fail(place.keyAt[i],
                                QStringLiteral("\"%1\" is no code nor the start of one (docs/checks.md lists them)")
                                    .arg(code));
                config.severities.append({code, severity});
            }
        } else if (key == QLatin1String("tags")) {
            if (!value.isArray())
                return fail(at, QStringLiteral("\"tags\" is a list of tags"));
            const QJsonArray tags = value.toArray();
            config.siteTags.reserve(tags.size());
            for (qsizetype i = 0; i < tags.size(); ++i) {
                const std::optional<SiteTag> tag = siteTagOf(tags[i], place.items[i], fail);
                if (!tag)
                    return std::nullopt;
                config.siteTags << *tag;
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
    if (path.isEmpty() || m_ignoreExpressions.isEmpty())
        return false;
    const QString relative = QFileInfo(path).absoluteDir().relativeFilePath(file);
    return std::any_of(m_ignoreExpressions.cbegin(), m_ignoreExpressions.cend(),
                       [&](const QRegularExpression &expression) { return expression.match(relative).hasMatch(); });
}

QList<Finding> CheckConfig::applySeverities(QList<Finding> findings) const
{
    if (severities.isEmpty())
        return findings;
    // In place: a text of many findings is not held twice.
    qsizetype kept = 0;
    for (qsizetype i = 0; i < findings.size(); ++i) {
        Finding &finding = findings[i];
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
        if (kept != i)
            findings[kept] = std::move(finding);
        ++kept;
    }
    findings.resize(kept);
    return findings;
}

bool CodeSelection::accepts(const QString &code) const
{
    return (select.isEmpty() || matchesPrefix(code, select)) && !matchesPrefix(code, ignore);
}
