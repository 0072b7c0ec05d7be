// The page data parser on any text: it never crashes, a refusal always says
// why, and what it accepts keeps the rules of the format (unique names,
// containers defined earlier, entries 0..H or 1..H without gaps, each with a
// caption and lines). The accepted data is then used as a page uses it.
#include "core/catalog/pagecatalog.h"
#include "tests/fuzz/fuzzsupport.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    QString error;
    const std::optional<PageCatalog> catalog = PageCatalog::parse(text, &error);
    fuzzCheck(catalog.has_value() == PageCatalog::parse(text).has_value(), "the same verdict without an error text");
    if (!catalog) {
        fuzzCheck(!error.isEmpty(), "a refusal names its reason");
        return 0;
    }

    QSet<QString> names;
    QSet<QString> frames;
    for (const CatalogControl &c : catalog->controls()) {
        fuzzCheck(!names.contains(c.name), "control names are unique", c.name);
        names.insert(c.name);
        fuzzCheck(c.onPage() || frames.contains(c.frame), "a control stands on the page or in a frame defined earlier",
                  c.frame);
        if (c.kind == CatalogControl::Kind::Frame)
            frames.insert(c.name);
        fuzzCheck(c.at.width >= 0 && c.at.height >= 0, "sizes are not negative", c.name);
        fuzzCheck(c.kind == CatalogControl::Kind::Entry || c.lines.isEmpty(), "only entries hold lines", c.name);
        for (const QString &line : c.lines)
            fuzzCheck(!line.contains(u'\r') && !line.contains(u'\n'), "a snippet line holds no line break", c.name);
        // What building a page does with every control.
        toPixels(c.at);
        toPixels(catalog->pageRect(c));
        catalog->shownInFrame(c);
        fuzzCheck(catalog->control(c.name) != nullptr, "every control is found by its name", c.name);
    }

    const QList<const CatalogControl *> entries = catalog->entries();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const CatalogControl *e = entries[i];
        fuzzCheck(i == 0 || entries[i - 1]->index < e->index, "entries come by ascending index",
                  QString::number(e->index));
        fuzzCheck(catalog->entry(e->index) == e, "an entry is found by its index");
        fuzzCheck(!e->caption.isEmpty() && !e->lines.isEmpty(), "an entry has a caption and lines", e->name);
    }
    // An index that no entry has finds nothing.
    for (const qint16 index : {qint16(-1), qint16(-32768)})
        fuzzCheck(catalog->entry(index) == nullptr, "no entry below zero");
    return 0;
}
