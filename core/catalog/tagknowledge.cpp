#include "core/catalog/tagknowledge.h"

#include "core/catalog/catalogdigest.h"
#include "core/catalog/catalogtags.h"
#include "core/catalog/pagebuilders.h"
#include "core/catalog/pagecatalog.h"
#include "core/catalog/snippet.h"
#include "core/catalog/tagbuilder.h"
#include "core/check/templatecheck.h"
#include "core/template/templateparser.h"
#include "core/template/templatesyntax.h"

#include <QHash>

#include <algorithm>
#include <span>

namespace {

QStringView textOf(QStringView text, const TextRange &range)
{
    return text.sliced(range.start, range.length);
}

QStringView unquoted(QStringView value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

template <typename T>
auto lowerBound(QList<T> &list, QStringView name)
{
    return std::lower_bound(list.begin(), list.end(), name, [](const T &item, QStringView n) { return item.name < n; });
}

template <typename T>
const T *findByName(const QList<T> &list, QStringView name)
{
    const auto it = std::lower_bound(list.cbegin(), list.cend(), name,
                                     [](const T &item, QStringView n) { return item.name < n; });
    return it != list.cend() && it->name == name ? &*it : nullptr;
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

// The first tag a builder's opening line writes.
const TemplateNode *openingTag(const ParsedTemplate &parsed)
{
    for (const TemplateNode &node : parsed.nodes) {
        if (node.kind == NodeKind::Tag && node.form != TagForm::Close)
            return &node;
    }
    return nullptr;
}

} // namespace

const AttributeInfo *TagInfo::attribute(QStringView name) const
{
    return findByName(attributes, name);
}

TagKnowledge::TagKnowledge(const TagKnowledge &other)
    : m_tags(other.m_tags), m_attributeNames(other.m_attributeNames)
{
    if (!other.m_byName.isEmpty())
        index();
}

TagKnowledge &TagKnowledge::operator=(const TagKnowledge &other)
{
    if (this != &other)
        *this = TagKnowledge(other);
    return *this;
}

void TagKnowledge::index()
{
    dropIndex();
    m_byName.reserve(m_tags.size());
    for (qsizetype i = 0; i < m_tags.size(); ++i) {
        const TagInfo &tag = m_tags.at(i);
        m_byName.entry(tag.name) = i;
        for (qsizetype a = 0; a < tag.attributes.size(); ++a)
            m_attributeByTag.entry(tag.attributes.at(a).name, quint32(i)) = a;
    }
}

void TagKnowledge::dropIndex()
{
    m_byName.clear();
    m_attributeByTag.clear();
}

TagInfo &TagKnowledge::info(QStringView name)
{
    auto it = lowerBound(m_tags, name);
    if (it == m_tags.end() || it->name != name) {
        dropIndex();
        TagInfo tag;
        tag.name = name.toString();
        it = m_tags.insert(it, tag);
    }
    return *it;
}

AttributeInfo &TagKnowledge::attribute(TagInfo &tag, QStringView name)
{
    auto it = lowerBound(tag.attributes, name);
    if (it == tag.attributes.end() || it->name != name) {
        dropIndex();
        AttributeInfo attribute;
        attribute.name = name.toString();
        it = tag.attributes.insert(it, attribute);
        const auto known = std::lower_bound(m_attributeNames.begin(), m_attributeNames.end(), name);
        if (known == m_attributeNames.end() || *known != name)
            m_attributeNames.insert(known, attribute.name);
    }
    return *it;
}

bool TagKnowledge::isAttributeName(QStringView name) const
{
    return std::binary_search(m_attributeNames.cbegin(), m_attributeNames.cend(), name);
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
        for (const TagAttribute &a : parsed.attributesOf(node))
            attribute(tag, textOf(text, a.name));
    }
}

// The builder's output with typical numbers, which numbers its number boxes
// fill, and for each drop-down choice the line it makes and the value it
// puts into an attribute.
void TagKnowledge::learnBuilder(const TagBuilder &builder)
{
    const QStringList typical = typicalInputs(builder);
    learn(snippetText(builder.lines(typical)));
    qsizetype input = 0;
    for (qsizetype p = 0; p < builder.opening.size(); ++p) {
        const OpeningPart &part = builder.opening[p];
        if (part.kind == OpeningPart::Kind::Text)
            continue;
        if (part.kind == OpeningPart::Kind::Number) {
            const QString line = builder.openingLine(typical);
            const ParsedTemplate parsed = parseTemplate(line);
            if (const TemplateNode *opening = openingTag(parsed))
                attribute(info(textOf(line, opening->name)), part.text).numeric = true;
        }
        const QStringList items = part.kind == OpeningPart::Kind::Choice ? choiceItems(*part.choices) : QStringList();
        for (const QString &item : items) {
            QStringList inputs = typical;
            inputs[input] = item;
            QList<qsizetype> starts;
            const QString line = builder.openingLine(inputs, &starts);
            learn(line);
            // What this choice wrote: from its part's start to the next part's.
            const qsizetype from = starts[p];
            const qsizetype to = p + 1 < starts.size() ? starts[p + 1] : line.size();
            const ParsedTemplate parsed = parseTemplate(line);
            const TemplateNode *opening = openingTag(parsed);
            if (!opening || from == to)
                continue;
            TagInfo &tag = info(textOf(line, opening->name));
            for (const TagAttribute &a : parsed.attributesOf(*opening)) {
                if (a.name.start >= to || a.value.end() <= from)
                    continue;
                AttributeInfo &info = attribute(tag, textOf(line, a.name));
                const QString value = unquoted(textOf(line, a.value)).toString();
                if (!info.values.contains(value))
                    info.values.append(value);
            }
        }
        ++input;
    }
}

TagKnowledge TagKnowledge::learnCatalog()
{
    TagKnowledge k;
    for (const CatalogTag &tag : catalogTags()) {
        k.learn(snippetText(tag.lines));
        if (tag.isBuilder())
            k.learnBuilder(tag.builder->builder());
    }
    k.index();
    return k;
}

TagKnowledge TagKnowledge::fromDigest(const catalogdigest::Digest &digest)
{
    const auto text = [&digest](catalogdigest::Text t) {
        return QString::fromRawData(reinterpret_cast<const QChar *>(digest.text + t.start), t.size);
    };
    TagKnowledge k;
    k.m_tags.reserve(digest.tagCount);
    for (const catalogdigest::Tag &tag : std::span(digest.tags, digest.tagCount)) {
        TagInfo info{text(tag.name), tag.block, {}};
        info.attributes.reserve(tag.attributeCount);
        for (const catalogdigest::Attribute &a : std::span(digest.attributes + tag.firstAttribute, tag.attributeCount)) {
            AttributeInfo attribute{text(a.name), a.numeric, {}};
            attribute.values.reserve(a.valueCount);
            for (const catalogdigest::Text value : std::span(digest.values + a.firstValue, a.valueCount))
                attribute.values.append(text(value));
            info.attributes.append(std::move(attribute));
        }
        k.m_tags.append(std::move(info));
    }
    k.m_attributeNames.reserve(digest.attributeNameCount);
    for (const catalogdigest::Text name : std::span(digest.attributeNames, digest.attributeNameCount))
        k.m_attributeNames.append(text(name));
    k.index();
    return k;
}

const TagKnowledge &TagKnowledge::catalog()
{
    static const TagKnowledge knowledge = [] {
        const catalogdigest::Digest *digest = catalogdigest::compiled();
        return digest ? fromDigest(*digest) : learnCatalog();
    }();
    return knowledge;
}

TagKnowledge TagKnowledge::withSiteTags(const QList<SiteTag> &siteTags) const
{
    // Added in one go and sorted once, not inserted one by one into sorted
    // lists: a site may declare many thousands of tags.
    TagKnowledge k = *this;
    const qsizetype known = k.m_tags.size();
    QHash<QString, qsizetype> byName;   // every tag declared, by its place in k.m_tags
    QList<qsizetype> touched;
    for (const SiteTag &site : siteTags) {
        const QString name = site.name.startsWith(templatesyntax::kTagPrefix) ? site.name : templatesyntax::kTagPrefix + site.name;
        auto it = byName.constFind(name);
        if (it == byName.cend()) {
            const auto existing = std::lower_bound(k.m_tags.cbegin(), k.m_tags.cbegin() + known, name,
                                                   [](const TagInfo &item, QStringView n) { return item.name < n; });
            qsizetype index = existing - k.m_tags.cbegin();
            if (existing == k.m_tags.cbegin() + known || existing->name != name) {
                index = k.m_tags.size();
                k.m_tags.append(TagInfo{name, false, {}});
            }
            it = byName.insert(name, index);
            touched.append(index);
        }
        TagInfo &tag = k.m_tags[*it];
        tag.block = tag.block || site.block;
        for (const QString &attribute : site.attributes) {
            tag.attributes.append(AttributeInfo{attribute, false, {}});
            k.m_attributeNames.append(attribute);
        }
    }
    // What the catalog knew of an attribute comes first and is kept.
    const auto byAttributeName = [](const AttributeInfo &a, const AttributeInfo &b) { return a.name < b.name; };
    for (const qsizetype index : std::as_const(touched)) {
        QList<AttributeInfo> &attributes = k.m_tags[index].attributes;
        std::stable_sort(attributes.begin(), attributes.end(), byAttributeName);
        attributes.erase(std::unique(attributes.begin(), attributes.end(),
                                     [](const AttributeInfo &a, const AttributeInfo &b) { return a.name == b.name; }),
                         attributes.end());
    }
    std::sort(k.m_tags.begin(), k.m_tags.end(), [](const TagInfo &a, const TagInfo &b) { return a.name < b.name; });
    std::sort(k.m_attributeNames.begin(), k.m_attributeNames.end());
    k.m_attributeNames.erase(std::unique(k.m_attributeNames.begin(), k.m_attributeNames.end()), k.m_attributeNames.end());
    k.index();
    return k;
}

const TagInfo *TagKnowledge::find(QStringView name) const
{
    if (m_byName.isEmpty())
        return findByName(m_tags, name);
    const qsizetype *index = m_byName.find(name);
    return index ? &m_tags.at(*index) : nullptr;
}

const AttributeInfo *TagKnowledge::attributeOf(const TagInfo &tag, QStringView name) const
{
    if (m_byName.isEmpty())
        return tag.attribute(name);
    Q_ASSERT(&tag >= m_tags.constData() && &tag < m_tags.constData() + m_tags.size());
    const qsizetype *index = m_attributeByTag.find(name, quint32(&tag - m_tags.constData()));
    return index ? &tag.attributes.at(*index) : nullptr;
}
