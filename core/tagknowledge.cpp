#include "core/tagknowledge.h"

#include "core/catalogtags.h"
#include "core/pagebuilders.h"
#include "core/snippet.h"
#include "core/tagbuilder.h"
#include "core/templatecheck.h"
#include "core/templateparser.h"
#include "core/templatesyntax.h"

#include <algorithm>

namespace {

QString textOf(QStringView text, const TextRange &range)
{
    return text.sliced(range.start, range.length).toString();
}

QString unquoted(QStringView value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        return value.sliced(1, value.size() - 2).toString();
    return value.toString();
}

// A builder's inputs with every number box holding a typical number.
QStringList typicalInputs(const TagBuilder &builder)
{
    QStringList inputs = builder.initialInputs();
    qsizetype input = 0;
    for (const OpeningPart &part : builder.opening) {
        if (part.kind == OpeningPart::Kind::Text)
            continue;
        if (part.kind == OpeningPart::Kind::Number)
            inputs[input] = part.suggestion.isEmpty() ? QStringLiteral("1") : part.suggestion;
        ++input;
    }
    return inputs;
}

// The first tag the builder's opening line writes with these inputs.
const TemplateNode *openingTag(const ParsedTemplate &parsed)
{
    for (const TemplateNode &node : parsed.nodes) {
        if (node.kind == NodeKind::Tag && node.form != TagForm::Close)
            return &node;
    }
    return nullptr;
}

} // namespace

TagInfo &TagKnowledge::info(const QString &name)
{
    TagInfo &tag = m_tags[name];
    tag.name = name;
    return tag;
}

void TagKnowledge::learn(QStringView text)
{
    const ParsedTemplate parsed = parseTemplate(text);
    for (const TemplateNode &node : parsed.nodes) {
        if (node.kind != NodeKind::Tag)
            continue;
        TagInfo &tag = info(textOf(text, node.name));
        if (node.form == TagForm::Close)
            tag.block = true;
        for (const TagAttribute &attribute : node.attributes)
            tag.attributes.insert(textOf(text, attribute.name));
    }
}

const TagKnowledge &TagKnowledge::catalog()
{
    static const TagKnowledge knowledge = [] {
        TagKnowledge k;
        forEachTag([&](const CatalogTag &tag) {
            k.learn(snippetText(tag.lines));
            if (!tag.builder)
                return;
            const TagBuilder &builder = tag.builder->builder();
            const QStringList typical = typicalInputs(builder);
            k.learn(snippetText(builder.lines(typical)));
            qsizetype input = 0;
            for (const OpeningPart &part : builder.opening) {
                if (part.kind == OpeningPart::Kind::Text)
                    continue;
                // Every choice of this drop-down, the other inputs typical.
                const QStringList items = part.kind == OpeningPart::Kind::Choice ? choiceItems(*part.choices) : QStringList();
                for (const QString &item : items) {
                    QStringList inputs = typical;
                    inputs[input] = item;
                    const QString line = builder.openingLine(inputs);
                    k.learn(line);
                    const ParsedTemplate parsed = parseTemplate(line);
                    const TemplateNode *opening = openingTag(parsed);
                    if (!opening)
                        continue;
                    const QString value = choiceValue(*part.choices, item).value_or(QString());
                    for (const TagAttribute &attribute : opening->attributes) {
                        // The attributes this choice's value wrote.
                        const QString written = line.sliced(attribute.name.start, attribute.value.end() - attribute.name.start);
                        if (value.isEmpty() || !value.contains(written))
                            continue;
                        QStringList &values = k.info(textOf(line, opening->name)).values[textOf(line, attribute.name)];
                        const QString v = unquoted(QStringView(line).sliced(attribute.value.start, attribute.value.length));
                        if (!values.contains(v))
                            values.append(v);
                    }
                }
                if (part.kind == OpeningPart::Kind::Number) {
                    const QString line = builder.openingLine(typical);
                    const ParsedTemplate parsed = parseTemplate(line);
                    if (const TemplateNode *opening = openingTag(parsed))
                        k.info(textOf(line, opening->name)).numericAttributes.insert(part.text);
                }
                ++input;
            }
        });
        return k;
    }();
    return knowledge;
}

TagKnowledge TagKnowledge::withSiteTags(const QList<SiteTag> &siteTags) const
{
    TagKnowledge k = *this;
    for (const SiteTag &site : siteTags) {
        TagInfo &tag = k.info(templatesyntax::kTagPrefix + site.name);
        tag.block = tag.block || site.block;
        for (const QString &attribute : site.attributes)
            tag.attributes.insert(attribute);
    }
    return k;
}

const TagInfo *TagKnowledge::find(QStringView name) const
{
    const auto it = m_tags.constFind(name.toString());
    return it == m_tags.cend() ? nullptr : &*it;
}

QStringList TagKnowledge::names() const
{
    QStringList names = m_tags.keys();
    std::sort(names.begin(), names.end());
    return names;
}
