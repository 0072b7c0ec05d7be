#pragma once

// What an editor inserts for an exported template, worked out here from the
// formats' own rules rather than from the exporter's code, so that a wrong
// escape or a field bound to the wrong place shows as a wrong text.

#include <QJsonArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include <optional>

// What the user puts into a field: a text for a free field, an option's
// index for a choice. Fields are counted from 0 in the order they are
// numbered (VS Code) or declared (JetBrains).
struct Pick {
    QString text;
    int option = -1;
};
using Picks = QMap<int, Pick>;

struct Expansion {
    QStringList lines;
    QMap<int, QString> defaults;      // by field: the text it holds when the user changes nothing
    QMap<int, QStringList> choices;   // by field, choice fields only: the options offered
    QString error;                    // empty when the template is well-formed
};

// ---- VS Code ---------------------------------------------------------------
//
// Outside a choice, `\` escapes `$`, `}` and `\`; before anything else it is
// itself. `${n}`, `${n:default}` and `${n|a,b|}` are tab stops; within a
// choice `\` escapes `,`, `|` and `\` only, and an empty option makes the
// editor take the whole choice as text. A bare `$` would start a variable and
// a bare `}` is what the exporter promises never to leave, so both are
// errors here.

class VsCodeExpander
{
public:
    VsCodeExpander(const QString &text, const Picks &picks) : m_text(text), m_picks(picks) {}

    Expansion expand()
    {
        Expansion result;
        QString out;
        if (parseText(out, false, result))
            result.lines = out.split(u'\n');
        result.error = m_error;
        return result;
    }

private:
    bool fail(const QString &what)
    {
        m_error = what + QStringLiteral(" at %1 of \"%2\"").arg(m_pos).arg(m_text);
        return false;
    }

    bool parseText(QString &out, bool inDefault, Expansion &result)
    {
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos];
            if (c == u'\\') {
                const QChar next = m_pos + 1 < m_text.size() ? m_text[m_pos + 1] : QChar();
                if (next == u'$' || next == u'}' || next == u'\\') {
                    out += next;
                    m_pos += 2;
                } else {
                    out += c;
                    ++m_pos;
                }
            } else if (c == u'}') {
                return inDefault ? true : fail(QStringLiteral("unescaped }"));
            } else if (c == u'$') {
                if (!parseTabStop(out, result))
                    return false;
            } else {
                out += c;
                ++m_pos;
            }
        }
        return inDefault ? fail(QStringLiteral("unclosed tab stop")) : true;
    }

    bool parseTabStop(QString &out, Expansion &result)
    {
        if (!QStringView(m_text).mid(m_pos).startsWith(u"${"))
            return fail(QStringLiteral("unescaped $"));
        m_pos += 2;
        const qsizetype digitsStart = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos].isDigit())
            ++m_pos;
        if (m_pos == digitsStart || m_pos >= m_text.size())
            return fail(QStringLiteral("no tab stop number"));
        const int field = m_text.mid(digitsStart, m_pos - digitsStart).toInt() - 1;
        if (field < 0 || result.defaults.contains(field))
            return fail(QStringLiteral("tab stop 0 or repeated"));

        const QChar kind = m_text[m_pos++];
        QString value;
        if (kind == u'}') {
            result.defaults.insert(field, QString());
        } else if (kind == u':') {
            if (!parseText(value, true, result))
                return false;
            ++m_pos;   // the closing brace
            result.defaults.insert(field, value);
        } else if (kind == u'|') {
            QStringList options;
            if (!parseChoice(options))
                return false;
            result.defaults.insert(field, options.front());
            result.choices.insert(field, options);
            value = options.front();
        } else {
            return fail(QStringLiteral("malformed tab stop"));
        }

        if (m_picks.contains(field)) {
            const Pick &pick = m_picks[field];
            if (result.choices.contains(field)) {
                if (pick.option < 0 || pick.option >= result.choices[field].size())
                    return fail(QStringLiteral("no option %1").arg(pick.option));
                value = result.choices[field][pick.option];
            } else {
                value = pick.text;
            }
        }
        out += value;
        return true;
    }

    bool parseChoice(QStringList &options)
    {
        for (;;) {
            QString option;
            while (m_pos < m_text.size() && m_text[m_pos] != u',' && m_text[m_pos] != u'|') {
                const QChar next = m_pos + 1 < m_text.size() ? m_text[m_pos + 1] : QChar();
                if (m_text[m_pos] == u'\\' && (next == u',' || next == u'|' || next == u'\\')) {
                    option += next;
                    m_pos += 2;
                } else {
                    option += m_text[m_pos++];
                }
            }
            if (option.isEmpty())
                return fail(QStringLiteral("empty choice option"));
            options << option;
            if (m_pos < m_text.size() && m_text[m_pos] == u',') {
                ++m_pos;
                continue;
            }
            if (QStringView(m_text).mid(m_pos).startsWith(u"|}")) {
                m_pos += 2;
                return true;
            }
            return fail(QStringLiteral("unclosed choice"));
        }
    }

    QString m_text;
    const Picks &m_picks;
    qsizetype m_pos = 0;
    QString m_error;
};

// The editor joins the body's lines with line breaks before it reads them.
inline Expansion expandVsCode(const QJsonArray &body, const Picks &picks = {})
{
    QStringList lines;
    for (const auto &line : body)
        lines << line.toString();
    return VsCodeExpander(lines.join(u'\n'), picks).expand();
}

// ---- JetBrains -------------------------------------------------------------
//
// In the value `$$` is a dollar and `$NAME$` the variable NAME; a variable
// takes what its expression gives (enum(...) gives its first item) or else its
// default value. Both are in the expression language, whose string literals
// stand in double quotes with `\` escaping the next character.

struct JetBrainsVariable {
    QString name;
    QString expression;
    QString defaultValue;
    QString alwaysStopAt;
};

struct JetBrainsTemplate {
    QString name;
    QString value;
    QString description;
    QString toReformat;
    QString toShortenFQNames;
    QList<JetBrainsVariable> variables;
    QMap<QString, QString> contexts;   // option name -> value
};

struct JetBrainsSet {
    QString group;
    QList<JetBrainsTemplate> templates;
    QString error;
};

inline JetBrainsSet readJetBrains(const QByteArray &xml)
{
    JetBrainsSet set;
    QXmlStreamReader reader(xml);
    auto attribute = [&](const char *name) { return reader.attributes().value(QLatin1String(name)).toString(); };
    bool inContext = false;
    while (reader.readNext() != QXmlStreamReader::Invalid && !reader.atEnd()) {
        if (reader.isStartElement()) {
            const auto element = reader.name();
            if (element == u"templateSet") {
                set.group = attribute("group");
            } else if (element == u"template") {
                set.templates << JetBrainsTemplate{attribute("name"), attribute("value"), attribute("description"),
                                                   attribute("toReformat"), attribute("toShortenFQNames"), {}, {}};
            } else if (element == u"variable" && !set.templates.isEmpty()) {
                set.templates.last().variables << JetBrainsVariable{attribute("name"), attribute("expression"),
                                                                    attribute("defaultValue"), attribute("alwaysStopAt")};
            } else if (element == u"context") {
                inContext = true;
            } else if (element == u"option" && inContext && !set.templates.isEmpty()) {
                set.templates.last().contexts.insert(attribute("name"), attribute("value"));
            }
        } else if (reader.isEndElement() && reader.name() == u"context") {
            inContext = false;
        }
    }
    if (reader.hasError())
        set.error = reader.errorString();
    return set;
}

// The string literals of a comma-separated list of them; nothing if the text
// is anything else.
inline std::optional<QStringList> jetBrainsStrings(QStringView text)
{
    QStringList strings;
    qsizetype pos = 0;
    while (pos < text.size()) {
        if (text[pos] != u'"')
            return std::nullopt;
        QString value;
        for (++pos; pos < text.size() && text[pos] != u'"'; ++pos) {
            if (text[pos] == u'\\' && pos + 1 < text.size())
                ++pos;
            value += text[pos];
        }
        if (pos >= text.size())
            return std::nullopt;
        strings << value;
        ++pos;   // the closing quote
        if (pos < text.size() && text[pos] != u',')
            return std::nullopt;
        if (pos < text.size())
            ++pos;
    }
    return strings;
}

inline Expansion expandJetBrains(const JetBrainsTemplate &t, const Picks &picks = {})
{
    Expansion result;
    QMap<QString, int> fieldOf;
    for (int field = 0; field < t.variables.size(); ++field) {
        const JetBrainsVariable &variable = t.variables[field];
        fieldOf.insert(variable.name, field);
        const auto defaultValue = jetBrainsStrings(variable.defaultValue);
        if (!defaultValue || defaultValue->size() != 1) {
            result.error = QStringLiteral("default value %1 is not one string").arg(variable.defaultValue);
            return result;
        }
        result.defaults.insert(field, defaultValue->front());
        if (variable.expression.isEmpty())
            continue;
        const QStringView expression(variable.expression);
        const auto options = expression.startsWith(u"enum(") && expression.endsWith(u')')
                                 ? jetBrainsStrings(expression.sliced(5).chopped(1))
                                 : std::nullopt;
        if (!options || options->isEmpty()) {
            result.error = QStringLiteral("expression %1 is no enum").arg(variable.expression);
            return result;
        }
        result.choices.insert(field, *options);
        result.defaults[field] = options->front();   // the expression wins over the default value
    }

    QString out;
    const QString &value = t.value;
    for (qsizetype pos = 0; pos < value.size();) {
        if (value[pos] != u'$') {
            out += value[pos++];
            continue;
        }
        const qsizetype close = value.indexOf(u'$', pos + 1);
        if (close < 0) {
            result.error = QStringLiteral("lone $ at %1 of \"%2\"").arg(pos).arg(value);
            return result;
        }
        const QString name = value.mid(pos + 1, close - pos - 1);
        pos = close + 1;
        if (name.isEmpty()) {
            out += u'$';
            continue;
        }
        if (!fieldOf.contains(name)) {
            result.error = QStringLiteral("no variable %1").arg(name);
            return result;
        }
        const int field = fieldOf[name];
        QString text = result.defaults[field];
        if (picks.contains(field)) {
            const Pick &pick = picks[field];
            if (result.choices.contains(field)) {
                if (pick.option < 0 || pick.option >= result.choices[field].size()) {
                    result.error = QStringLiteral("no option %1").arg(pick.option);
                    return result;
                }
                text = result.choices[field][pick.option];
            } else {
                text = pick.text;
            }
        }
        out += text;
    }
    result.lines = out.split(u'\n');
    return result;
}
