#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct PageBuilder;

// One tag the tool writes: an entry of a page's data, or a builder, with
// what every reader of the catalog needs of it. The search palette, the
// editor export, the checker's knowledge and the language server all read
// the same list, so they agree on the set and its order. The captions'
// pinyin is worked out by the readers that search by it (pinyin.h):
// checking a file or exporting starts without it.
struct CatalogTag {
    int page = 0;
    QString pageName;          // the page's navigation caption, e.g. 列表标签
    QString caption;           // as the page shows it
    // The control that choosing the tag acts on: the entry ("listPageTag3"),
    // or for a builder its first input box ("articleColumnId").
    QString control;
    // An entry's index on its page; for a builder, the numbers after its
    // page's entries, in the order the page shows them.
    int index = 0;
    QString tip;               // an entry's hover tip; empty for most
    QStringList lines;         // an entry's snippet; a builder's as its page first shows it
    const PageBuilder *builder = nullptr;   // set for a builder
    QStringList layoutCaptions;             // a builder's layout options as its page captions them

    bool isBuilder() const { return builder != nullptr; }
};

// Every entry of the pages with a data file, page by page in index order,
// each page's builders after its entries. Read from the page data on first
// use, once for the whole program.
const QList<CatalogTag> &catalogTags();
