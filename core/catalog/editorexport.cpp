#include "core/catalog/editorexport.h"

#include "core/catalog/catalogdigest.h"
#include "core/catalog/catalogtags.h"
#include "core/catalog/homebuilders.h"
#include "core/files/jsonwriter.h"
#include "core/catalog/listtag.h"
#include "core/catalog/numeric.h"
#include "core/catalog/pagebuilders.h"
#include "core/catalog/pagecatalog.h"
#include "core/catalog/pagetable.h"
#include "core/catalog/pinyin.h"
#include "core/catalog/tagbuilder.h"

#include <QHash>
#include <QXmlStreamWriter>

#include <algorithm>

namespace {

void appendText(TemplateLine &line, const QString &text)
{
    if (text.isEmpty())
        return;
    if (!line.isEmpty() && line.last().field < 0)
        line.last().text += text;
    else
        line << TemplateSpan{text};
}

// The length of the character at the start or the end of `text`, a
// surrogate pair counting as one.
qsizetype firstCharLength(const QString &text)
{
    return text.size() > 1 && text[0].isHighSurrogate() && text[1].isLowSurrogate() ? 2 : 1;
}

qsizetype lastCharLength(const QString &text)
{
    const qsizetype n = text.size();
    return n > 1 && text[n - 1].isLowSurrogate() && text[n - 2].isHighSurrogate() ? 2 : 1;
}

// VS Code's snippet grammar has no empty choice: in `${1|,a|}` the empty
// option makes the whole placeholder literal text. So a choice that offers
// nothing takes in the character after it (or, at the end of the line, the
// one before it), which every option then carries: nothing and " flag='h'"
// before " titlelen" become " " and " flag='h' " before "titlelen". Both
// formats get the folded line, so they insert the same text. A choice with
// no text beside it becomes a free field holding its first option.
void foldEmptyChoices(TemplateLine &line, QList<TemplateField> &fields)
{
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i].field < 0)
            continue;
        TemplateField &field = fields[line[i].field];
        if (!field.choices.contains(QString()))
            continue;
        const bool textAfter = i + 1 < line.size() && line[i + 1].field < 0;
        const bool textBefore = i > 0 && line[i - 1].field < 0;
        if (textAfter) {
            QString &text = line[i + 1].text;
            const QString taken = text.left(firstCharLength(text));
            text.remove(0, taken.size());
            for (QString &choice : field.choices)
                choice += taken;
            if (text.isEmpty())
                line.removeAt(i + 1);
        } else if (textBefore) {
            QString &text = line[i - 1].text;
            const QString taken = text.right(lastCharLength(text));
            text.chop(taken.size());
            for (QString &choice : field.choices)
                choice.prepend(taken);
            if (text.isEmpty()) {
                line.removeAt(i - 1);
                --i;
            }
        } else {
            field.choices.clear();
        }
        if (!field.choices.isEmpty())
            field.initial = field.choices.front();
    }
}

// Names `count` things uniquely. Every name starts in form 0; while names
// have twins, each of the twins moves on to its next form, and past the
// last form gets its position appended.
template <typename Form>
QStringList uniqueNames(qsizetype count, int forms, Form form)
{
    QStringList names;
    QList<int> stage(count, 0);
    for (qsizetype i = 0; i < count; ++i)
        names << form(i, 0);
    for (;;) {
        QHash<QString, int> uses;
        for (const QString &name : std::as_const(names))
            ++uses[name];
        bool twins = false;
        for (qsizetype i = 0; i < count; ++i) {
            if (uses.value(names[i]) < 2)
                continue;
            twins = true;
            ++stage[i];
            names[i] = stage[i] < forms ? form(i, stage[i]) : names[i] + QString::number(i);
        }
        if (!twins)
            return names;
    }
}

QString latinPrefix(const QString &caption)
{
    QString prefix = QStringLiteral("zv");
    for (QChar c : pinyinInitials(caption)) {
        if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
            prefix += c;
    }
    return prefix;
}

QString pageCaption(int page)
{
    return QString::fromUtf16(pageInfo(page).caption);
}

// --- VS Code ---

// `text` with a backslash before each `a`, `b` and `c`; the text itself,
// shared, where there is none (most lines).
QString backslashed(const QString &text, char16_t a, char16_t b, char16_t c)
{
    QString escaped;
    qsizetype run = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit != a && unit != b && unit != c)
            continue;
        if (escaped.isEmpty())
            escaped.reserve(text.size() + 8);
        escaped.append(QStringView(text).sliced(run, i - run)).append(u'\\');
        run = i;
    }
    if (escaped.isEmpty())
        return text;
    return escaped.append(QStringView(text).sliced(run));
}

// Outside a choice a backslash escapes `$`, `}` and itself.
QString vsCodeText(const QString &text)
{
    return backslashed(text, u'$', u'}', u'\\');
}

// Inside a choice a backslash escapes `,`, `|` and itself, and nothing
// else: "\$" there would keep its backslash.
QString vsCodeChoice(const QString &option)
{
    return backslashed(option, u',', u'|', u'\\');
}

QString vsCodeLine(const TemplateLine &line, const QList<TemplateField> &fields)
{
    QString body;
    for (const TemplateSpan &span : line) {
        if (span.field < 0) {
            body += vsCodeText(span.text);
            continue;
        }
        const TemplateField &field = fields[span.field];
        const QString tabStop = QString::number(span.field + 1);
        if (!field.choices.isEmpty()) {
            QStringList options;
            for (const QString &choice : field.choices)
                options << vsCodeChoice(choice);
            body += QStringLiteral("${") + tabStop + u'|' + options.join(u',') + QStringLiteral("|}");
        } else if (field.initial.isEmpty()) {
            body += QStringLiteral("${") + tabStop + u'}';
        } else {
            body += QStringLiteral("${") + tabStop + u':' + vsCodeText(field.initial) + u'}';
        }
    }
    return body;
}

// --- JetBrains ---

QString jetBrainsText(const QString &text)
{
    QString escaped = text;
    return escaped.replace(u'$', QStringLiteral("$$"));
}

// A string literal of the template expression language.
QString jetBrainsString(const QString &text)
{
    QString literal = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == u'"' || c == u'\\')
            literal += u'\\';
        literal += c;
    }
    return literal + u'"';
}

QString jetBrainsValue(const EditorTemplate &t)
{
    QStringList lines;
    for (const TemplateLine &line : t.lines) {
        QString value;
        for (const TemplateSpan &span : line)
            value += span.field < 0 ? jetBrainsText(span.text) : u'$' + t.fields[span.field].name + u'$';
        lines << value;
    }
    return lines.join(u'\n');
}

} // namespace

EditorTemplate fixedTemplate(const QStringList &lines)
{
    EditorTemplate result;
    for (const QString &line : lines)
        result.lines << TemplateLine{TemplateSpan{line}};
    return result;
}

EditorTemplate builderTemplate(const TagBuilder &builder)
{
    EditorTemplate result;
    TemplateLine opening;
    auto appendField = [&](const TemplateField &field) {
        opening << TemplateSpan{QString(), int(result.fields.size())};
        result.fields << field;
    };
    for (const OpeningPart &part : builder.opening) {
        switch (part.kind) {
        case OpeningPart::Kind::Text:
            appendText(opening, part.text);
            break;
        case OpeningPart::Kind::Number:
            // The box holds a number, so the fragment is always there.
            appendText(opening, numericFragmentBefore(part.text));
            appendField(TemplateField{part.field, part.suggestion, {}});
            appendText(opening, numericFragmentAfter());
            break;
        case OpeningPart::Kind::Choice: {
            QStringList values;
            for (const auto &row : *part.choices)
                values << row.second;
            appendField(TemplateField{part.field, values.front(), values});
            break;
        }
        }
    }
    foldEmptyChoices(opening, result.fields);
    result.lines << opening;
    for (const QString &line : builder.following)
        result.lines << TemplateLine{TemplateSpan{line}};
    return result;
}

void assignNames(QList<EditorTemplate> &templates)
{
    QStringList latin;   // the pinyin of every caption, worked out once
    latin.reserve(templates.size());
    for (const EditorTemplate &t : std::as_const(templates))
        latin << latinPrefix(t.caption);
    const QStringList prefixes = uniqueNames(templates.size(), 3, [&](qsizetype i, int form) {
        const EditorTemplate &t = templates[i];
        QString prefix = latin[i];
        if (form >= 1)
            prefix += QString::number(t.page);
        if (form >= 2)
            prefix += QString::number(t.tiebreak);
        return prefix;
    });
    const QStringList keys = uniqueNames(templates.size(), 3, [&](qsizetype i, int form) {
        const EditorTemplate &t = templates[i];
        if (form == 0)
            return t.caption;
        if (form == 1)
            return t.caption + QStringLiteral(" (") + pageCaption(t.page) + u')';
        return t.caption + QStringLiteral(" (") + pageCaption(t.page) + u' ' + QString::number(t.tiebreak) + u')';
    });
    for (qsizetype i = 0; i < templates.size(); ++i) {
        templates[i].prefix = prefixes[i];
        templates[i].key = keys[i];
    }
}

QList<EditorTemplate> catalogTemplates()
{
    QList<EditorTemplate> templates;
    for (const CatalogTag &tag : catalogTags()) {
        EditorTemplate t = tag.isBuilder() ? builderTemplate(tag.builder->builder()) : fixedTemplate(tag.lines);
        t.caption = tag.caption;
        t.page = tag.page;
        t.tiebreak = tag.index;
        templates << t;
    }
    assignNames(templates);
    return templates;
}

QStringList snippetBody(const EditorTemplate &t)
{
    QStringList body;
    for (const TemplateLine &line : t.lines)
        body << vsCodeLine(line, t.fields);
    return body;
}

QStringList insertedLines(const EditorTemplate &t)
{
    QStringList lines;
    for (const TemplateLine &line : t.lines) {
        QString text;
        for (const TemplateSpan &span : line)
            text += span.field < 0 ? span.text : t.fields[span.field].initial;
        lines << text;
    }
    return lines;
}

// As QJsonDocument writes an object in its indented form (members in the
// order of their keys, four spaces a level), written straight: building
// the document cost more than the rest of the export together.
QByteArray vsCodeSnippets(const QList<EditorTemplate> &templates)
{
    QList<const EditorTemplate *> byKey;
    byKey.reserve(templates.size());
    for (const EditorTemplate &t : templates)
        byKey << &t;
    std::sort(byKey.begin(), byKey.end(), [](const EditorTemplate *a, const EditorTemplate *b) { return a->key < b->key; });

    QByteArray out;
    out.reserve(templates.size() * 512);
    out += "{\n";
    const auto stringArray = [&out](const QStringList &items) {
        out += "[\n";
        for (qsizetype i = 0; i < items.size(); ++i) {
            out += "            ";
            jsonwriter::appendString(out, items[i]);
            out += i + 1 < items.size() ? ",\n" : "\n";
        }
        out += "        ]";
    };
    for (qsizetype i = 0; i < byKey.size(); ++i) {
        const EditorTemplate &t = *byKey[i];
        out += "    ";
        jsonwriter::appendString(out, t.key);
        out += ": {\n        \"body\": ";
        stringArray(snippetBody(t));
        out += ",\n        \"description\": ";
        jsonwriter::appendString(out, pageCaption(t.page));
        out += ",\n        \"prefix\": ";
        stringArray({t.prefix, t.caption});
        out += ",\n        \"scope\": \"html,php\"\n    }";
        out += i + 1 < byKey.size() ? ",\n" : "\n";
    }
    out += "}\n";
    return out;
}

QByteArray jetBrainsTemplateSet(const QList<EditorTemplate> &templates)
{
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("templateSet"));
    writer.writeAttribute(QStringLiteral("group"), QStringLiteral("ZuviCMS"));
    for (const EditorTemplate &t : templates) {
        writer.writeStartElement(QStringLiteral("template"));
        writer.writeAttribute(QStringLiteral("name"), t.prefix);
        writer.writeAttribute(QStringLiteral("value"), jetBrainsValue(t));
        writer.writeAttribute(QStringLiteral("description"), t.caption);
        writer.writeAttribute(QStringLiteral("toReformat"), QStringLiteral("false"));
        writer.writeAttribute(QStringLiteral("toShortenFQNames"), QStringLiteral("true"));
        for (const TemplateField &field : t.fields) {
            QStringList options;
            for (const QString &choice : field.choices)
                options << jetBrainsString(choice);
            writer.writeEmptyElement(QStringLiteral("variable"));
            writer.writeAttribute(QStringLiteral("name"), field.name);
            writer.writeAttribute(QStringLiteral("expression"),
                                  options.isEmpty() ? QString() : QStringLiteral("enum(") + options.join(u',') + u')');
            writer.writeAttribute(QStringLiteral("defaultValue"), jetBrainsString(field.initial));
            writer.writeAttribute(QStringLiteral("alwaysStopAt"), QStringLiteral("true"));
        }
        writer.writeStartElement(QStringLiteral("context"));
        for (const char16_t *context : {u"HTML", u"PHP"}) {
            writer.writeEmptyElement(QStringLiteral("option"));
            writer.writeAttribute(QStringLiteral("name"), QString::fromUtf16(context));
            writer.writeAttribute(QStringLiteral("value"), QStringLiteral("true"));
        }
        writer.writeEndElement();
        writer.writeEndElement();
    }
    writer.writeEndElement();
    writer.writeEndDocument();
    return xml;
}

namespace {

QByteArray digestBytes(catalogdigest::Bytes bytes)
{
    return QByteArray::fromRawData(bytes.data, bytes.size);
}

} // namespace

QByteArray catalogVsCodeSnippets()
{
    const catalogdigest::Digest *digest = catalogdigest::compiled();
    return digest ? digestBytes(digest->vsCodeSnippets) : vsCodeSnippets(catalogTemplates());
}

QByteArray catalogJetBrainsTemplateSet()
{
    const catalogdigest::Digest *digest = catalogdigest::compiled();
    return digest ? digestBytes(digest->jetBrainsTemplateSet) : jetBrainsTemplateSet(catalogTemplates());
}
