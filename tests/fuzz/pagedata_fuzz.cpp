// The page data parser on any text: it never crashes, a refusal always says
// why, and what it accepts keeps the rules of the format (unique names,
// containers defined earlier, entries 0..H or 1..H without gaps, each with a
// caption and lines). The accepted data is then used as a page uses it.
#include "shell/pagecatalog.h"
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
        fuzzCheck(c.container == QStringLiteral("page") || frames.contains(c.container),
                  "a container is the page or a frame defined earlier", c.container);
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
    const qint16 highest = catalog->highestEntryIndex();
    fuzzCheck(entries.isEmpty() == (highest == -1), "the highest index of no entries is -1");
    if (!entries.isEmpty()) {
        const qint16 first = entries.first()->index;
        fuzzCheck(first == 0 || first == 1, "entries start at 0 or 1", QString::number(first));
        fuzzCheck(highest == entries.last()->index, "the highest index is the last entry's");
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const CatalogControl *e = entries[i];
            fuzzCheck(e->index == first + i, "entry indices run without gaps", QString::number(e->index));
            fuzzCheck(catalog->entry(e->index) == e, "an entry is found by its index");
            fuzzCheck(!e->caption.isEmpty() && !e->lines.isEmpty(), "an entry has a caption and lines", e->name);
        }
    }
    fuzzCheck(catalog->entry(qint16(highest + 1)) == nullptr && catalog->entry(-1) == nullptr,
              "no entry outside the run");
    return 0;
}
