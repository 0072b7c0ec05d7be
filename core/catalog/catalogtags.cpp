#include "core/catalog/catalogtags.h"

#include "core/catalog/pagebuilders.h"
#include "core/catalog/pagecatalog.h"
#include "core/catalog/pagetable.h"
#include "core/catalog/tagbuilder.h"

namespace {

QList<CatalogTag> readCatalog()
{
    QList<CatalogTag> tags;
    for (int page = kFirstPage; page <= kLastPage; ++page) {
        if (!pageInfo(page).dataFile)
            continue;
        const QString pageName = QString::fromUtf16(pageInfo(page).caption);
        const PageCatalog catalog = PageCatalog::load(dataFilePath(page));
        int nextIndex = 0;
        for (const CatalogControl *entry : catalog.entries()) {
            CatalogTag tag;
            tag.page = page;
            tag.pageName = pageName;
            tag.caption = entry->caption;
            tag.control = entry->name;
            tag.index = entry->index;
            tag.tip = entry->tip;
            tag.lines = entry->lines;
            tags << tag;
            nextIndex = entry->index + 1;
        }
        // The builders follow their page's entries, as the page first
        // shows them.
        for (const PageBuilder &builder : pageBuilders()) {
            if (builder.page != page)
                continue;
            const TagBuilder &first = builder.builder();
            CatalogTag tag;
            tag.page = page;
            tag.pageName = pageName;
            tag.caption = QString::fromUtf16(builder.caption);
            tag.control = QString::fromLatin1(builder.firstInput);
            tag.index = nextIndex++;
            tag.lines = first.lines(first.initialInputs());
            tag.builder = &builder;
            for (const char *option : builder.layoutOptions) {
                const CatalogControl *control = catalog.control(QString::fromLatin1(option));
                tag.layoutCaptions << (control ? control->caption : QString());
            }
            tags << tag;
        }
    }
    return tags;
}

} // namespace

const QList<CatalogTag> &catalogTags()
{
    static const QList<CatalogTag> tags = readCatalog();
    return tags;
}
