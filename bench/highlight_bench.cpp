// Colouring the output box: the tokenizer alone, and the box's highlighter
// over the largest snippet of the page data and over one long line.

#include "bench/benchmarks.h"
#include "bench/support.h"

#include "app/pagefactory.h"
#include "shell/platform/clipboard.h"
#include "core/catalog/pagecatalog.h"
#include "core/catalog/pagetable.h"
#include "core/catalog/snippet.h"
#include "core/template/templatetokens.h"
#include "shell/catalogpage.h"
#include "shell/outputbox.h"
#include "shell/pageset.h"
#include "shell/pagewindow.h"
#include "shell/templatehighlighter.h"

#include <QAbstractButton>
#include <QPlainTextEdit>

#include <benchmark/benchmark.h>

namespace {

using benchmark::State;

// The entry with the longest snippet of all tag pages (the template files
// page's 126-line file, the slowest entry click).
struct LargestEntry {
    int page = 0;
    QString name;
    QString text;
};
const LargestEntry &largestEntry()
{
    static const LargestEntry largest = [] {
        LargestEntry found;
        for (int page = Page::Home; page <= Page::ExtensionFunctions; ++page) {
            const PageCatalog catalog = PageCatalog::load(dataFilePath(page));
            for (const CatalogControl *entry : catalog.entries()) {
                const QString text = snippetText(entry->lines);
                if (text.size() > found.text.size())
                    found = {page, entry->name, text};
            }
        }
        return found;
    }();
    return largest;
}

void setLinesCounter(State &state, const QString &text)
{
    state.counters["lines"] = double(text.count(u'\n'));
    state.counters["chars"] = double(text.size());
}

// The tokenizer over the largest snippet, line by line as the box reads it.
void tokensOfTheLargestSnippet(State &state)
{
    const QString &text = largestEntry().text;
    for (auto _ : state)
        benchmark::DoNotOptimize(tokenizeTemplate(text));
    setLinesCounter(state, text);
}

// The page's own output box holding the largest snippet, coloured again
// from its first line: tokens read, formats laid on every line.
void colouringTheLargestSnippet(State &state)
{
    const LargestEntry &largest = largestEntry();
    SystemClipboard clipboard;
    PageSet pages(pageFactory(clipboard));
    pages.start();
    clickNavigation(pages, largest.page);
    settle();
    auto *content = qobject_cast<CatalogPage *>(pages.page(largest.page)->content());
    pages.page(largest.page)->findChild<QAbstractButton *>(largest.name)->click();
    settle();
    auto *highlighter = content->outputBox()->findChild<TemplateHighlighter *>();
    if (!highlighter) {
        state.SkipWithError("the output box has no highlighter");
        for (auto _ : state) {
        }
        return;
    }
    for (auto _ : state) {
        const auto start = Clock::now();
        highlighter->rehighlight();
        state.SetIterationTime(secondsBetween(start, Clock::now()));
        settle();
    }
    state.SetLabel(QStringLiteral("%1 %2").arg(QString::fromLatin1(pageSlug(largest.page)), largest.name).toStdString());
    setLinesCounter(state, largest.text);
}

// One line of n characters, as a paste echoed into a snippet or a minified
// file brings: tags, placeholders and text without a line break.
QString oneLine(qsizetype n)
{
    const QString unit = QStringLiteral("<a href=\"{$f.url}\" class='x'>{zuvi:type typeid='1'}{$f.title|MyDate='Y',###}{/zuvi:type}</a> 文字 ");
    QString line;
    line.reserve(n + unit.size());
    while (line.size() < n)
        line += unit;
    line.truncate(n);
    return line;
}

void tokensOfOneLine(State &state)
{
    const QString line = oneLine(qsizetype(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(tokenizeTemplate(line));
    state.SetComplexityN(state.range(0));
}

// A box like the output box with the line in it, coloured again: the
// tokens and the formats of one block of n characters.
void colouringOneLine(State &state)
{
    QPlainTextEdit box;
    auto *highlighter = new TemplateHighlighter(&box);
    box.setPlainText(oneLine(qsizetype(state.range(0))));
    for (auto _ : state)
        highlighter->rehighlight();
    state.SetComplexityN(state.range(0));
}

} // namespace

void registerHighlightBenchmarks()
{
    using benchmark::RegisterBenchmark;
    RegisterBenchmark("Colouring/tokens/largest_snippet", tokensOfTheLargestSnippet)->Unit(benchmark::kMicrosecond);
    RegisterBenchmark("Colouring/box/largest_snippet", colouringTheLargestSnippet)
        ->Iterations(500)->UseManualTime()->Unit(benchmark::kMicrosecond);
    RegisterBenchmark("Colouring/tokens/one_line", tokensOfOneLine)
        ->RangeMultiplier(4)->Range(1 << 12, 1 << 20)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Colouring/box/one_line", colouringOneLine)
        ->RangeMultiplier(4)->Range(1 << 12, 1 << 20)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
}
