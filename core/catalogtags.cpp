#include "core/catalogtags.h"

#include "core/pagebuilders.h"
#include "core/pagecatalog.h"
#include "core/pagetable.h"
#include "core/tagbuilder.h"

void forEachTag(const std::function<void(const CatalogTag &)> &visit)
{
    for (int page = kFirstPage; page <= kLastPage; ++page) {
        if (!pageInfo(page).dataFile)
            continue;
        const PageCatalog catalog = PageCatalog::load(dataFilePath(page));
        for (const CatalogControl *entry : catalog.entries())
            visit({page, entry->caption, entry->lines, entry, nullptr});
        // The builders follow their page's entries, as the page first
        // shows them.
        for (const PageBuilder &builder : pageBuilders()) {
            if (builder.page != page)
                continue;
            const TagBuilder &tag = builder.builder();
            visit({page, QString::fromUtf16(builder.caption), tag.lines(tag.initialInputs()), nullptr, &builder});
        }
    }
}
