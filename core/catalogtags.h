#pragma once

#include <QString>
#include <QStringList>

#include <functional>

struct CatalogControl;
struct PageBuilder;

// One tag the tool writes: an entry of a page's data, or a builder. The
// search palette, the editor export and the template checker all walk the
// same set in the same order through forEachTag.
struct CatalogTag {
    int page = 0;
    QString caption;
    QStringList lines;                       // an entry's snippet; a builder's as its page first shows it
    const CatalogControl *entry = nullptr;   // set for an entry
    const PageBuilder *builder = nullptr;    // set for a builder
};

// Every entry of the pages with a data file, page by page in index order,
// each page's builders after its entries. The pointers in a tag live only
// for the call.
void forEachTag(const std::function<void(const CatalogTag &)> &visit);
