#pragma once

#include "core/template/nametable.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

struct SiteTag;
struct TagBuilder;
namespace catalogdigest {
struct Digest;
}

// What the tool knows of one attribute of a tag.
struct AttributeInfo {
    QString name;
    bool numeric = false;   // a builder fills it from a number box, through the numeric rule
    QStringList values;     // what the builders' drop-downs put into it, in list order

    bool operator==(const AttributeInfo &) const = default;
};

// What the tool knows of one template tag, learnt from what it writes.
struct TagInfo {
    QString name;                       // as written: "zuvi:list", "volist"
    bool block = false;                 // seen with a closing tag, or declared a block by the site
    QList<AttributeInfo> attributes;    // every attribute seen on it, sorted by name

    const AttributeInfo *attribute(QStringView name) const;
    bool operator==(const TagInfo &) const = default;
};

// The tags of every snippet of every entry and builder (each builder for
// each of its drop-down choices, its number boxes holding typical numbers),
// and the site's own tags on top. Never a table typed by hand: a tag the
// catalog writes is known the moment it is written.
//
// A tag is a block when some snippet closes it; it takes the attributes some
// snippet gives it; an attribute takes a number when a builder fills it from
// a number box. Literal values in entries' snippets are examples, not rules
// (typeid='2' may as well be a list, getall='1' a switch), so they make no
// attribute numeric.
class TagKnowledge
{
public:
    TagKnowledge() = default;
    TagKnowledge(const TagKnowledge &other);
    TagKnowledge &operator=(const TagKnowledge &other);
    TagKnowledge(TagKnowledge &&) = default;
    TagKnowledge &operator=(TagKnowledge &&) = default;

    // The catalog's knowledge, made once on first use; safe from any thread.
    // Read from the digest compiled in (catalogdigest.h), or where there is
    // none, learnt from the page data.
    static const TagKnowledge &catalog();
    // The catalog's knowledge learnt from the page data: every snippet of
    // every entry and builder.
    static TagKnowledge learnCatalog();
    // The knowledge a digest holds, its texts shared with the digest.
    static TagKnowledge fromDigest(const catalogdigest::Digest &digest);

    // This knowledge with the site's own tags added: a new name, or more
    // attributes for a known one. Cheap: the tags' data is shared.
    TagKnowledge withSiteTags(const QList<SiteTag> &siteTags) const;

    // The tag named as written ("zuvi:list"), or nothing.
    const TagInfo *find(QStringView name) const;
    // TagInfo::attribute of a tag find() gave, through the index of every
    // tag's attributes once the knowledge is complete.
    const AttributeInfo *attributeOf(const TagInfo &tag, QStringView name) const;
    const QList<TagInfo> &tags() const { return m_tags; }   // sorted by name
    // Whether some tag takes an attribute of this name.
    bool isAttributeName(QStringView name) const;
    const QStringList &attributeNames() const { return m_attributeNames; }   // sorted

    // Learns the tags of one text the tool writes.
    void learn(QStringView text);

private:
    TagInfo &info(QStringView name);
    AttributeInfo &attribute(TagInfo &tag, QStringView name);
    void learnBuilder(const TagBuilder &builder);
    void index();
    void dropIndex();

    QList<TagInfo> m_tags;   // sorted by name
    // Each tag's place in m_tags by its name, and each attribute's place in
    // its tag's list by its name in the group of the tag's place, so that a
    // look-up hashes the name once instead of comparing it along a binary
    // search. Views of m_tags' own names: emptied when a tag or an attribute
    // is added, made again when the knowledge is complete or copied; find()
    // and attributeOf() search the sorted lists meanwhile.
    NameTable<qsizetype> m_byName;
    NameTable<qsizetype> m_attributeByTag;
    QStringList m_attributeNames;   // of every tag, sorted
};
