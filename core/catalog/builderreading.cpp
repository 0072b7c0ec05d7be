#include "core/catalog/builderreading.h"

#include "core/catalog/numeric.h"
#include "core/catalog/pagebuilders.h"
#include "core/catalog/snippet.h"
#include "core/catalog/tagbuilder.h"
#include "core/template/templateparser.h"

#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace {

// What the text holds in place of the loop's body when that matches none
// of the builder's layouts.
const QString kBodyNotKept = QStringLiteral("循环内的代码");

bool hasValue(const TagAttribute &attribute)
{
    return attribute.value.start > attribute.name.end();
}

QString textOf(QStringView text, TextRange range)
{
    return text.sliced(range.start, range.length).toString();
}

// The value as the template engine takes it, without its quotes.
QString unquotedValue(QStringView text, const TagAttribute &attribute)
{
    QStringView value = text.sliced(attribute.value.start, attribute.value.length);
    if (attribute.quoted && value.size() >= 2)
        value = value.sliced(1, value.size() - 2);
    return value.toString();
}

// An attribute as the user wrote it, for the list of what is not kept.
QString writtenAttribute(QStringView text, const TagAttribute &attribute)
{
    const QString name = textOf(text, attribute.name);
    return hasValue(attribute) ? name + u'=' + textOf(text, attribute.value) : name;
}

bool overlaps(const TagAttribute &attribute, qsizetype from, qsizetype to)
{
    return from < to && attribute.name.start < to && attribute.value.end() > from;
}

// The lines of a loop's body compared as a reader sees them: blanks at
// either end of a line and empty lines do not count, nor which line ends.
QStringList bodyLines(QStringView body)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    QStringList lines;
    for (QStringView line : body.split(lineEnd)) {
        if (const QStringView trimmed = line.trimmed(); !trimmed.isEmpty())
            lines << trimmed.toString();
    }
    return lines;
}

// The closing tag that ends the block opened by node `open`, or -1.
qsizetype closingNode(QStringView text, const ParsedTemplate &parsed, qsizetype open)
{
    const QStringView name = tagName(text, parsed.nodes[open]);
    int depth = 0;
    for (qsizetype i = open + 1; i < parsed.nodes.size(); ++i) {
        const TemplateNode &node = parsed.nodes[i];
        if (node.kind != NodeKind::Tag || tagName(text, node) != name)
            continue;
        if (node.form == TagForm::Open)
            ++depth;
        else if (node.form == TagForm::Close && depth-- == 0)
            return i;
    }
    return -1;
}

// One input as its builder writes it into the opening tag.
struct InputForm {
    QString attribute;   // the attribute it writes
    bool number = false;
    // Drop-downs: each item with the value it gives the attribute, unquoted;
    // nothing for an item that leaves the attribute out.
    std::vector<std::pair<QString, std::optional<QString>>> items;

    // What the input holds when the tag does not have its attribute.
    QString absent() const
    {
        if (number)
            return QString();
        for (const auto &[item, value] : items) {
            if (!value)
                return item;
        }
        return items.front().first;
    }
};

// What one builder in one layout writes, learnt by building its snippet and
// reading that with the template parser: so every part the builder's
// description holds is read back, whatever a new part adds.
struct BuilderForm {
    const PageBuilder *builder = nullptr;
    int layout = 0;
    QString tagName;                                  // "zuvi:arclist"
    std::vector<InputForm> inputs;                    // in the order of the builder's inputs
    std::vector<std::pair<QString, QString>> fixed;   // attributes every tag of the builder has, with their values
    QStringList body;                                 // as bodyLines() gives it

    static BuilderForm describe(const PageBuilder &pageBuilder, int layout);
};

// The attribute that the text of part `part` stands in, in the opening line
// built from `inputs`; nothing where the part wrote nothing.
std::optional<std::pair<QString, QString>> attributeOfPart(const TagBuilder &builder, const QStringList &inputs,
                                                           qsizetype part)
{
    QList<qsizetype> starts;
    const QString line = builder.openingLine(inputs, &starts);
    const qsizetype from = starts[part];
    const qsizetype to = part + 1 < starts.size() ? starts[part + 1] : line.size();
    const ParsedTemplate parsed = parseTemplate(line);
    for (const TagAttribute &attribute : parsed.attributesOf(parsed.nodes.first())) {
        if (overlaps(attribute, from, to))
            return std::pair{textOf(line, attribute.name), unquotedValue(line, attribute)};
    }
    return std::nullopt;
}

BuilderForm BuilderForm::describe(const PageBuilder &pageBuilder, int layout)
{
    const TagBuilder &builder = pageBuilder.builder(layout);
    BuilderForm form;
    form.builder = &pageBuilder;
    form.layout = layout;
    const QStringList initial = builder.initialInputs();

    QList<qsizetype> inputParts;
    for (qsizetype part = 0; part < builder.opening.size(); ++part) {
        const OpeningPart &opening = builder.opening[part];
        if (opening.kind == OpeningPart::Kind::Text)
            continue;
        const qsizetype input = inputParts.size();
        inputParts << part;
        InputForm in;
        switch (opening.kind) {
        case OpeningPart::Kind::Text:
            break;
        case OpeningPart::Kind::Number:
            in.number = true;
            in.attribute = opening.text;
            break;
        case OpeningPart::Kind::Choice:
            for (const QString &item : choiceItems(*opening.choices)) {
                QStringList inputs = initial;
                inputs[input] = item;
                const auto written = attributeOfPart(builder, inputs, part);
                Q_ASSERT(!written || in.attribute.isEmpty() || in.attribute == written->first);
                if (written)
                    in.attribute = written->first;
                in.items.emplace_back(item, written ? std::optional(written->second) : std::nullopt);
            }
            break;
        }
        form.inputs.push_back(std::move(in));
    }

    // The attributes that no input writes are the builder's own.
    QList<qsizetype> starts;
    const QString line = builder.openingLine(initial, &starts);
    starts << line.size();
    const ParsedTemplate opening = parseTemplate(line);
    Q_ASSERT(opening.errors.isEmpty() && !opening.nodes.isEmpty());
    form.tagName = textOf(line, opening.nodes.first().name);
    for (const TagAttribute &attribute : opening.attributesOf(opening.nodes.first())) {
        const bool fromInput = std::any_of(inputParts.cbegin(), inputParts.cend(), [&](qsizetype part) {
            return overlaps(attribute, starts[part], starts[part + 1]);
        });
        if (!fromInput)
            form.fixed.emplace_back(textOf(line, attribute.name), unquotedValue(line, attribute));
    }

    const QString snippet = snippetText(builder.lines(initial));
    const ParsedTemplate whole = parseTemplate(snippet);
    const qsizetype close = closingNode(snippet, whole, 0);
    Q_ASSERT(close > 0);
    const qsizetype bodyStart = whole.nodes.first().range.end();
    form.body = bodyLines(QStringView(snippet).sliced(bodyStart, whole.nodes[close].range.start - bodyStart));
    return form;
}

const std::vector<BuilderForm> &builderForms()
{
    static const std::vector<BuilderForm> forms = [] {
        std::vector<BuilderForm> all;
        for (const PageBuilder &builder : pageBuilders()) {
            for (int layout = 0; layout < builder.layoutCount(); ++layout)
                all.push_back(BuilderForm::describe(builder, layout));
        }
        return all;
    }();
    return forms;
}

// Reads the attributes of one opening tag into a builder's inputs.
class AttributeReader
{
public:
    AttributeReader(const BuilderForm &form, QStringView text, const ParsedTemplate &parsed, const TemplateNode &tag)
        : m_form(form), m_text(text), m_tag(tag), m_attributes(parsed.attributesOf(tag))
    {
    }

    void read(BuilderReading &reading)
    {
        for (const InputForm &input : m_form.inputs)
            reading.inputs << input.absent();
        std::vector<bool> given(m_form.inputs.size(), false);
        std::vector<bool> fixedSeen(m_form.fixed.size(), false);
        for (const TagAttribute &attribute : m_attributes) {
            if (!take(attribute, reading.inputs, given, fixedSeen))
                m_notKept.emplace_back(attribute.name.start, writtenAttribute(m_text, attribute));
        }
        findStrayText();
        std::stable_sort(m_notKept.begin(), m_notKept.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        for (const auto &[offset, item] : m_notKept)
            reading.notKept << item;
    }

private:
    // Whether the builder keeps the attribute: as one of its inputs, or as
    // one of its own attributes with the value it writes.
    bool take(const TagAttribute &attribute, QStringList &inputs, std::vector<bool> &given,
              std::vector<bool> &fixedSeen) const
    {
        if (!hasValue(attribute))
            return false;
        const QString name = textOf(m_text, attribute.name);
        const QString value = unquotedValue(m_text, attribute);
        for (size_t i = 0; i < m_form.inputs.size(); ++i) {
            const InputForm &input = m_form.inputs[i];
            if (input.attribute != name)
                continue;
            if (given[i])
                return false;   // a second one: the builder writes one
            if (input.number) {
                // What a box writes back only when it is a number.
                if (value.isEmpty() || !isNumeric(value))
                    return false;
                inputs[qsizetype(i)] = value;
            } else {
                const auto item = std::find_if(input.items.cbegin(), input.items.cend(),
                                               [&](const auto &row) { return row.second == value; });
                if (item == input.items.cend())
                    return false;
                inputs[qsizetype(i)] = item->first;
            }
            given[i] = true;
            return true;
        }
        for (size_t i = 0; i < m_form.fixed.size(); ++i) {
            if (m_form.fixed[i].first == name) {
                const bool kept = !fixedSeen[i] && m_form.fixed[i].second == value;
                fixedSeen[i] = true;
                return kept;
            }
        }
        return false;
    }

    // Text inside the tag that is no attribute (a quoted string alone, a
    // stray character), which the parser passes over.
    void findStrayText()
    {
        qsizetype from = m_tag.name.end();
        const qsizetype end = m_tag.range.end() - 1;   // before the '}'
        auto strayUpTo = [&](qsizetype to) {
            const QStringView stray = m_text.sliced(from, to - from).trimmed();
            if (!stray.isEmpty())
                m_notKept.emplace_back(from, stray.toString());
        };
        for (const TagAttribute &attribute : m_attributes) {
            strayUpTo(attribute.name.start);
            from = attribute.value.end();
        }
        strayUpTo(end);
    }

    const BuilderForm &m_form;
    QStringView m_text;
    const TemplateNode &m_tag;
    NodeParts<TagAttribute> m_attributes;
    std::vector<std::pair<qsizetype, QString>> m_notKept;   // with where each starts
};

} // namespace

QStringList BuilderReading::lines() const
{
    return builder->builder(layout).lines(inputs);
}

std::optional<BuilderReading> readBuilderSnippet(QStringView text)
{
    qsizetype start = 0;
    while (start < text.size() && text[start].isSpace())
        ++start;
    if (start == text.size() || text[start] != u'{')
        return std::nullopt;
    const ParsedTemplate parsed = parseTemplate(text);
    if (parsed.nodes.isEmpty())
        return std::nullopt;
    const TemplateNode &tag = parsed.nodes.first();
    if (tag.kind != NodeKind::Tag || tag.form != TagForm::Open || tag.range.start != start)
        return std::nullopt;
    if (std::any_of(parsed.errors.cbegin(), parsed.errors.cend(), [](const SyntaxError &e) { return e.node == 0; }))
        return std::nullopt;

    // The tag alone, or the tag, its body and its closing tag.
    QStringView body;
    QStringView after = text.sliced(tag.range.end());
    if (const qsizetype close = closingNode(text, parsed, 0); close > 0) {
        const TextRange closing = parsed.nodes[close].range;
        body = text.sliced(tag.range.end(), closing.start - tag.range.end());
        after = text.sliced(closing.end());
    }
    if (!after.trimmed().isEmpty())
        return std::nullopt;

    const QString name = textOf(text, tag.name);
    const QStringList lines = bodyLines(body);
    const BuilderForm *chosen = nullptr;
    for (const BuilderForm &form : builderForms()) {
        if (form.tagName != name)
            continue;
        if (!chosen)
            chosen = &form;   // the first layout, when the body matches none
        if (form.body == lines) {
            chosen = &form;
            break;
        }
    }
    if (!chosen)
        return std::nullopt;

    BuilderReading reading;
    reading.builder = chosen->builder;
    reading.layout = chosen->layout;
    AttributeReader(*chosen, text, parsed, tag).read(reading);
    if (!lines.isEmpty() && chosen->body != lines)
        reading.notKept << kBodyNotKept;
    return reading;
}
