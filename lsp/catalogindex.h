#pragma once

#include "core/catalog/tagsearch.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// One tag of the catalog as the server offers it: what completion inserts
// and what hover says of it.
struct CatalogItem {
    QString caption;      // as the page shows it
    QString pageName;     // the page's navigation caption
    QString tagName;      // the first tag its code writes ("zuvi:pagelist"); empty where it writes none
    QString tip;          // the entry's hover tip; empty for most
    QString snippet;      // with tab stops and choices, as the VS Code export writes it
    QString plainText;    // what the snippet inserts when no field is changed
    QString pinyin;       // of the caption, the syllables joined
    QString initials;     // of the caption
};

// Every entry and builder of the catalog, in catalog order, with the search
// palette's matching: by caption, pinyin, initials and words of the code.
class CatalogIndex
{
public:
    // Built on first use.
    static const CatalogIndex &instance();

    const QList<CatalogItem> &items() const { return m_items; }
    // The items matching `query`, best first; every item for an empty one.
    QList<qsizetype> find(const QString &query) const { return m_search.find(query); }
    // The items whose code starts with the tag named `name` ("zuvi:list").
    QList<qsizetype> itemsWriting(const QString &name) const { return m_byTag.value(name); }

private:
    CatalogIndex();

    TagSearch m_search;
    QList<CatalogItem> m_items;
    QHash<QString, QList<qsizetype>> m_byTag;
};
