// What the user does on a page once it is up: clicking entries, typing into
// builder boxes, pasting into them.

#include "bench/benchmarks.h"
#include "bench/support.h"

#include "shell/catalogpage.h"
#include "core/catalog/pagetable.h"
#include "app/pagefactory.h"
#include "shell/platform/clipboard.h"
#include "shell/pageset.h"
#include "shell/pagewindow.h"
#include "shell/searchpalette.h"
#include "core/catalog/pageview.h"

#include <QAbstractButton>
#include <QRadioButton>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using benchmark::State;

// All nine pages created, `page` shown and painted.
struct OpenPage {
    explicit OpenPage(int page) : number(page)
    {
        pages.start();
        if (page != Page::Home)
            clickNavigation(pages, page);
        settle();
    }
    CatalogPage *content() const { return qobject_cast<CatalogPage *>(pages.page(number)->content()); }
    PageWindow *window() const { return pages.page(number); }

    SystemClipboard clipboard;
    PageSet pages{pageFactory(clipboard)};
    int number;
};

// Every option button of the page in turn, one click each, timed from the
// click to its handler's return (the snippet written and on the clipboard).
// The paint of the output box that follows is timed apart. The reported time
// is the mean click; the counters name the slowest entry.
void entryClick(State &state, int page)
{
    OpenPage open(page);
    const QList<QRadioButton *> buttons = open.window()->findChildren<QRadioButton *>();
    const size_t n = size_t(buttons.size());
    std::vector<double> clickTotal(n), paintTotal(n);
    bool checked = false;
    for (auto _ : state) {
        double iterationClicks = 0;
        for (size_t i = 0; i < n; ++i) {
            const auto start = Clock::now();
            buttons[qsizetype(i)]->click();
            const auto copied = Clock::now();
            settle();
            const auto painted = Clock::now();
            clickTotal[i] += secondsBetween(start, copied);
            paintTotal[i] += secondsBetween(copied, painted);
            iterationClicks += secondsBetween(start, copied);
            if (!checked && (QApplication::clipboard()->text().isEmpty()
                             || QApplication::clipboard()->text() != open.content()->view().outputText()))
                state.SkipWithError(qPrintable(buttons[qsizetype(i)]->objectName() + " put nothing on the clipboard"));
        }
        checked = true;
        state.SetIterationTime(iterationClicks / double(n));
    }
    size_t slowest = 0;
    for (size_t i = 1; i < n; ++i) {
        if (clickTotal[i] > clickTotal[slowest])
            slowest = i;
    }
    const double iterations = double(state.iterations());
    state.counters["entries"] = double(n);
    state.counters["slowest_us"] = clickTotal[slowest] / iterations * 1e6;
    state.counters["its_paint_us"] = paintTotal[slowest] / iterations * 1e6;
    state.SetLabel(buttons[qsizetype(slowest)]->objectName().toStdString());
}

void sendKey(QWidget *widget, int key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

// One keystroke in a builder box, timed from the key event to its handler's
// return (snippet rebuilt, written and copied). Each iteration types "1" after
// "10" and takes it back with Backspace; the time is per keystroke. The paint
// that follows is not timed.
void keystroke(State &state, int page, const QString &boxName)
{
    OpenPage open(page);
    QLineEdit *box = open.content()->widget<QLineEdit>(boxName);
    if (!box) {
        state.SkipWithError(qPrintable("no box " + boxName));
        for (auto _ : state) {
        }
        return;
    }
    box->setText(QStringLiteral("10"));
    settle();
    bool checked = false;
    for (auto _ : state) {
        const auto typed = Clock::now();
        sendKey(box, Qt::Key_1, QStringLiteral("1"));
        const double typing = secondsBetween(typed, Clock::now());
        if (!checked && !open.content()->view().outputText().contains(QStringLiteral("101")))
            state.SkipWithError("the snippet was not rebuilt from the typed text");
        checked = true;
        settle();
        const auto erased = Clock::now();
        sendKey(box, Qt::Key_Backspace, QString());
        const double erasing = secondsBetween(erased, Clock::now());
        settle();
        state.SetIterationTime((typing + erasing) / 2);
    }
    if (box->text() != QStringLiteral("10"))
        state.SkipWithError("the box does not hold what was typed");
}

QString pastedText(qsizetype size, bool digits)
{
    // Mixed: digits, Latin letters, Chinese, punctuation and blanks, as a
    // careless paste from a web page brings them.
    const QString unit = digits ? QStringLiteral("1234567890") : QStringLiteral("12 ab 栏目,3.5e+x；");
    QString text;
    text.reserve(size + unit.size());
    while (text.size() < size)
        text += unit;
    text.truncate(size);
    return text;
}

void sendShortcut(QWidget *widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::ControlModifier);
    QApplication::sendEvent(widget, &release);
}

// A paste of `n` characters into the home page's column ID box, as
// the user does it: another program has put the text on the clipboard, the
// user selects all in the box and presses Ctrl+V. Timed from Ctrl+V to the
// paint done: the box's text set (cut at its limit), the snippet rebuilt,
// written, copied and painted.
void paste(State &state, bool digits)
{
    const qsizetype n = qsizetype(state.range(0));
    OpenPage open(Page::Home);
    QLineEdit *box = open.content()->widget<QLineEdit>(QStringLiteral("columnId"));
    const QString text = pastedText(n, digits);
    double handlerTotal = 0;
    for (auto _ : state) {
        // The snippet of the paste before took the clipboard's place.
        QApplication::clipboard()->setText(text);
        sendShortcut(box, Qt::Key_A);
        settle();
        const auto start = Clock::now();
        sendShortcut(box, Qt::Key_V);
        const auto handled = Clock::now();
        settle();
        state.SetIterationTime(secondsBetween(start, Clock::now()));
        handlerTotal += secondsBetween(start, handled);
    }
    state.SetComplexityN(n);
    state.counters["kept_chars"] = double(box->text().size());
    state.counters["output_chars"] = double(open.content()->view().outputText().size());
    state.counters["handler_ms"] = handlerTotal / double(state.iterations()) * 1000;
}

// The search palette over the home page: its first opening in a fresh set of
// pages (the search index is built then), a later opening, and a keystroke in
// its query field; each timed to the paint done, as the user sees it.
void searchPaletteOpen(State &state, bool first)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto open = std::make_unique<OpenPage>(Page::Home);
        if (!first) {
            open->pages.openSearch(Page::Home);
            settle();
            open->pages.searchPalette()->close();
            settle();
        }
        state.ResumeTiming();
        open->pages.openSearch(Page::Home);
        settle();
        state.PauseTiming();
        if (!open->pages.searchPalette()->isVisible())
            state.SkipWithError("the palette did not open");
        open.reset();
        state.ResumeTiming();
    }
}

void searchPaletteKeystroke(State &state)
{
    OpenPage open(Page::Home);
    open.pages.openSearch(Page::Home);
    settle();
    QLineEdit *query = open.pages.searchPalette()->queryField();
    const QString typed = QStringLiteral("fenye");
    qsizetype at = 0;
    for (auto _ : state) {
        if (at == typed.size()) {
            state.PauseTiming();
            query->clear();
            settle();
            at = 0;
            state.ResumeTiming();
        }
        const QChar c = typed[at++];
        sendKey(query, Qt::Key_A + (c.unicode() - u'a'), QString(c));
        settle();
    }
    if (!query->text().startsWith(u'f'))
        state.SkipWithError("the query field did not take the keys");
}

// Keystrokes in the home page's column ID box after 10 MiB were pasted into
// it (and cut at the box's limit): Backspace, then the digit back, each timed
// from the key event to the paint done, since the user waits for both: the
// box lays out its text, the snippet is rebuilt, written into the output box
// and copied. Digits go into the snippet whole; mixed text does not, which
// leaves the cost of the box alone. The time is the mean keystroke;
// `slowest_ms` the slowest single one.
void keystrokeAfterHugePaste(State &state, bool digits)
{
    OpenPage open(Page::Home);
    QLineEdit *box = open.content()->widget<QLineEdit>(QStringLiteral("columnId"));
    box->setFocus();
    QApplication::clipboard()->setText(pastedText(10 << 20, digits));
    sendShortcut(box, Qt::Key_V);
    settle();
    const QString pasted = box->text();
    double slowest = 0;
    double handlerTotal = 0;
    for (auto _ : state) {
        double iteration = 0;
        for (const bool erase : {true, false}) {
            const auto start = Clock::now();
            if (erase)
                sendKey(box, Qt::Key_Backspace, QString());
            else
                sendKey(box, Qt::Key_1, pasted.right(1));
            const auto handled = Clock::now();
            settle();
            const double seconds = secondsBetween(start, Clock::now());
            slowest = std::max(slowest, seconds);
            iteration += seconds;
            handlerTotal += secondsBetween(start, handled);
        }
        state.SetIterationTime(iteration / 2);
    }
    if (box->text() != pasted)
        state.SkipWithError("the box does not hold the pasted text again");
    state.counters["kept_chars"] = double(pasted.size());
    state.counters["output_chars"] = double(open.content()->view().outputText().size());
    state.counters["slowest_ms"] = slowest * 1000;
    state.counters["handler_ms"] = handlerTotal / double(state.iterations() * 2) * 1000;
}

} // namespace

void registerInteractionBenchmarks()
{
    using benchmark::RegisterBenchmark;
    for (int page = Page::Home; page <= Page::ExtensionFunctions; ++page) {
        // A fixed count: the untimed paint after every click costs ten times
        // the click, and the clock would otherwise run for minutes.
        RegisterBenchmark((std::string("EntryClick/") + pageSlug(page)).c_str(), entryClick, page)
            ->Iterations(200)->UseManualTime()->Unit(benchmark::kMicrosecond);
    }

    struct Box {
        int page;
        const char *name;
    };
    constexpr Box boxes[] = {
        {Page::Home, "columnId"},           {Page::Home, "columnCount"},
        {Page::Home, "articleColumnId"},    {Page::Home, "articleTitleLength"},
        {Page::Home, "articleRows"},        {Page::Home, "articleSummaryLength"},
        {Page::List, "listTitleLength"},    {Page::List, "listSummaryLength"},
        {Page::List, "listPageSize"},
    };
    for (const Box &box : boxes) {
        const std::string name = std::string("Keystroke/") + pageSlug(box.page) + "/" + box.name;
        RegisterBenchmark(name.c_str(), keystroke, box.page, QString::fromLatin1(box.name))
            ->Iterations(1000)->UseManualTime()->Unit(benchmark::kMicrosecond);
    }

    RegisterBenchmark("SearchPalette/first_open", searchPaletteOpen, true)->Iterations(30)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("SearchPalette/open", searchPaletteOpen, false)->Iterations(30)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("SearchPalette/keystroke", searchPaletteKeystroke)->Iterations(200)->Unit(benchmark::kMillisecond);

    for (const bool digits : {true, false}) {
        RegisterBenchmark(digits ? "Paste/digits" : "Paste/mixed", paste, digits)
            ->RangeMultiplier(4)->Range(1 << 10, 1 << 20)->Complexity(benchmark::oN)
            ->UseManualTime()->Unit(benchmark::kMillisecond);
    }
    for (const bool digits : {true, false}) {
        RegisterBenchmark(digits ? "KeystrokeAfterHugePaste/digits" : "KeystrokeAfterHugePaste/mixed",
                          keystrokeAfterHugePaste, digits)
            ->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);
    }
}
