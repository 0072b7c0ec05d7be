#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

struct SiteTag;

// What the tool knows of one template tag, learnt from what it writes.
struct TagInfo {
    QString name;                           // as written: "zuvi:list", "volist"
    bool block = false;                     // seen with a closing tag
    QSet<QString> attributes;               // every attribute seen on it
    QSet<QString> numericAttributes;        // filled through the numeric rule by a builder
    QHash<QString, QStringList> values;     // per attribute, the values a builder's drop-down gives
};

// The tags of every snippet of every entry and every builder (for each of
// its drop-down choices), and the site's own tags on top. Never a table
// typed by hand: a tag the catalog writes is known the moment it is written.
class TagKnowledge
{
public:
    // The catalog's knowledge, built once on first use; safe from any thread.
    static const TagKnowledge &catalog();

    // The catalog's knowledge with the site's own tags added.
    TagKnowledge withSiteTags(const QList<SiteTag> &siteTags) const;

    // The tag named as written ("zuvi:list"), or nothing.
    const TagInfo *find(QStringView name) const;
    QStringList names() const;   // sorted

    // Learns the tags of one text, as a snippet the tool writes.
    void learn(QStringView text);

private:
    TagInfo &info(const QString &name);
    QHash<QString, TagInfo> m_tags;
};
