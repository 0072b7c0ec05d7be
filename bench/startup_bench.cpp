// Start-up, navigation and memory, each against the cheapest Qt window that
// shows text.

#include "bench/benchmarks.h"
#include "bench/endtoend.h"
#include "bench/freshprocess.h"
#include "bench/support.h"

#include "core/catalog/pagetable.h"
#include "app/pagefactory.h"
#include "shell/platform/clipboard.h"
#include "shell/pageset.h"
#include "shell/pagewindow.h"

#include <QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

using benchmark::State;

// The figures of the child processes, or none when a child failed: then the
// benchmark is marked skipped with the child's error and its loop run empty,
// as Google Benchmark requires.
const FreshProcessFigures *figuresOrSkip(State &state, const FreshProcessFigures &figures)
{
    if (figures.error.isEmpty())
        return &figures;
    state.SkipWithError(qPrintable(figures.error));
    for (auto _ : state) {
    }
    return nullptr;
}

const FreshProcessFigures *freshProcessFiguresOrSkip(State &state)
{
    return figuresOrSkip(state, freshProcessFigures());
}

// Start-up as the user sees it, on a real X server: from spawning the
// program to its first window painted, the tool against the bare window.
void startUpEndToEnd(State &state)
{
    const EndToEndFigures &f = endToEndFigures();
    if (!f.error.isEmpty()) {
        state.SkipWithError(qPrintable(f.error));
        for (auto _ : state) {
        }
        return;
    }
    for (auto _ : state)
        state.SetIterationTime(f.toolMedian / 1000.0);
    state.counters["tool_ms"] = f.toolMedian;
    state.counters["bare_ms"] = f.bareMedian;
    state.counters["ratio"] = f.toolMedian / f.bareMedian;
    state.counters["tool_min_ms"] = *std::min_element(f.tool.begin(), f.tool.end());
    state.counters["bare_min_ms"] = *std::min_element(f.bare.begin(), f.bare.end());
    state.counters["rounds"] = f.rounds;
}

// A new process per sample, in the benchmark's platform: QApplication
// constructed, then the clock runs until the window is shown and painted.
void startUpFreshProcess(State &state)
{
    const FreshProcessFigures *figures = freshProcessFiguresOrSkip(state);
    if (!figures)
        return;
    const FreshProcessFigures &f = *figures;
    for (auto _ : state)
        state.SetIterationTime(f.homeStartup / 1000.0);
    state.counters["bare_ms"] = f.bareStartup;
    state.counters["home_ms"] = f.homeStartup;
    state.counters["ratio"] = f.homeStartup / f.bareStartup;
    state.counters["prepare_ms"] = f.preparation;
    state.counters["rounds"] = f.rounds;
}

// The same again and again in one process: what building and painting the
// page costs once fonts, style and plugins are loaded. Bare window and home
// page alternate within each iteration.
void startUpInProcess(State &state)
{
    double bareTotal = 0;
    double homeTotal = 0;
    for (auto _ : state) {
        {
            const auto start = Clock::now();
            const std::unique_ptr<QWidget> bare = showBareWindow();
            const PaintCounter paints(bare.get());
            settle();
            bareTotal += secondsBetween(start, Clock::now());
            if (paints.count() == 0)
                state.SkipWithError("the bare window was not painted");
        }
        const auto start = Clock::now();
        SystemClipboard clipboard;
        PageSet pages(pageFactory(clipboard));
        pages.start();
        const PaintCounter paints(pages.page(Page::Home));
        settle();
        const double home = secondsBetween(start, Clock::now());
        homeTotal += home;
        state.SetIterationTime(home);
        if (paints.count() == 0)
            state.SkipWithError("the home page was not painted");
    }
    const double n = double(state.iterations());
    state.counters["bare_ms"] = bareTotal / n * 1000;
    state.counters["home_ms"] = homeTotal / n * 1000;
    state.counters["ratio"] = homeTotal / bareTotal;
}

void firstClickFreshProcess(State &state)
{
    const FreshProcessFigures *figures = freshProcessFiguresOrSkip(state);
    if (!figures)
        return;
    const FreshProcessFigures &f = *figures;
    for (auto _ : state)
        state.SetIterationTime(f.firstClick / 1000.0);
    state.counters["first_click_ms"] = f.firstClick;
    state.counters["first_visit_ms"] = f.firstVisit;
    state.counters["later_click_ms"] = f.laterClick;
}

// The first navigation click of a run (home page -> list page) creates the
// eight other pages; timed from the click to the list page painted. Then the
// first visit of a page created by that click (list page -> content page).
void firstClickInProcess(State &state)
{
    double handlerTotal = 0;
    double firstVisitTotal = 0;
    for (auto _ : state) {
        SystemClipboard clipboard;
        PageSet pages(pageFactory(clipboard));
        pages.start();
        settle();

        const auto start = Clock::now();
        clickNavigation(pages, Page::List);
        const auto handled = Clock::now();
        const PaintCounter paints(pages.page(Page::List));
        settle();
        const auto painted = Clock::now();
        state.SetIterationTime(secondsBetween(start, painted));
        handlerTotal += secondsBetween(start, handled);
        if (paints.count() == 0)
            state.SkipWithError("the list page was not painted");

        const auto visit = Clock::now();
        clickNavigation(pages, Page::Content);
        settle();
        firstVisitTotal += secondsBetween(visit, Clock::now());
    }
    const double n = double(state.iterations());
    state.counters["handler_ms"] = handlerTotal / n * 1000;
    state.counters["first_visit_ms"] = firstVisitTotal / n * 1000;
}

// Back and forth between two pages that have both been shown before.
void laterClickInProcess(State &state)
{
    SystemClipboard clipboard;
    PageSet pages(pageFactory(clipboard));
    pages.start();
    for (int page = kFirstPage; page <= kLastPage; ++page) {
        clickNavigation(pages, page);
        settle();
    }
    double handlerTotal = 0;
    int target = Page::List;
    for (auto _ : state) {
        target = target == Page::List ? Page::Content : Page::List;
        const auto start = Clock::now();
        clickNavigation(pages, target);
        const auto handled = Clock::now();
        const PaintCounter paints(pages.page(target));
        settle();
        state.SetIterationTime(secondsBetween(start, Clock::now()));
        handlerTotal += secondsBetween(start, handled);
        if (paints.count() == 0)
            state.SkipWithError("the page was not painted");
    }
    state.counters["handler_ms"] = handlerTotal / double(state.iterations()) * 1000;
}

// Resident memory (VmRSS) of a process with the bare window, and of one with
// all nine pages created (after the first navigation click) and after every
// page has been shown once. The figures are in the counters, in MiB.
void memoryFreshProcess(State &state)
{
    const FreshProcessFigures *figures = freshProcessFiguresOrSkip(state);
    if (!figures)
        return;
    const FreshProcessFigures &f = *figures;
    for (auto _ : state)
        state.SetIterationTime(0);
    state.counters["bare_MiB"] = f.bare.total;
    state.counters["home_MiB"] = f.home.total;
    state.counters["nine_MiB"] = f.ninePages.total;
    state.counters["ratio"] = f.ninePages.total / f.bare.total;
    state.counters["visited_MiB"] = f.allVisited.total;
    state.counters["visited_ratio"] = f.allVisited.total / f.bare.total;
    state.counters["bare_anon"] = f.bare.anonymous;
    state.counters["bare_file"] = f.bare.fileBacked;
    state.counters["nine_anon"] = f.ninePages.anonymous;
    state.counters["nine_file"] = f.ninePages.fileBacked;
}

// Resident memory (VmRSS) of a process of its own around six select-all
// pastes of 1 MiB into a parameter box and the box's clearing; see
// PasteMemoryFigures. The figures are in the counters, in MiB.
void pasteMemoryFreshProcess(State &state)
{
    const PasteMemoryFigures &f = pasteMemoryFigures();
    if (!f.error.isEmpty()) {
        state.SkipWithError(qPrintable(f.error));
        for (auto _ : state) {
        }
        return;
    }
    for (auto _ : state)
        state.SetIterationTime(0);
    state.counters["before_MiB"] = f.before;
    state.counters["first_MiB"] = f.afterPaste[0];
    state.counters["sixth_MiB"] = f.afterPaste[PasteMemoryFigures::kPastes - 1];
    state.counters["peak_MiB"] = f.peak;
    state.counters["cleared_MiB"] = f.cleared;
    state.counters["kept_chars"] = f.keptChars;
    state.counters["rounds"] = f.rounds;
}

// The navigation of firstClickFreshProcess on a private Xvfb: each time runs
// from the click to the target page painted, after its expose event came
// back from the X server; and the slowest of every page shown once more.
void navigationOnXServer(State &state)
{
    const FreshProcessFigures *figures = figuresOrSkip(state, xServerFigures());
    if (!figures)
        return;
    const FreshProcessFigures &f = *figures;
    for (auto _ : state)
        state.SetIterationTime(f.laterClick / 1000.0);
    state.counters["first_click_ms"] = f.firstClick;
    state.counters["first_visit_ms"] = f.firstVisit;
    state.counters["later_click_ms"] = f.laterClick;
    state.counters["slowest_later_ms"] = f.laterClickSlowest;
    state.counters["home_startup_ms"] = f.homeStartup;
}

// Resident memory on a private Xvfb, where each window shown has a backing
// store in an image shared with the X server: the bare window against the
// tool with every page shown once.
void memoryOnXServer(State &state)
{
    const FreshProcessFigures *figures = figuresOrSkip(state, xServerFigures());
    if (!figures)
        return;
    const FreshProcessFigures &f = *figures;
    for (auto _ : state)
        state.SetIterationTime(0);
    state.counters["bare_MiB"] = f.bare.total;
    state.counters["home_MiB"] = f.home.total;
    state.counters["nine_MiB"] = f.ninePages.total;
    state.counters["visited_MiB"] = f.allVisited.total;
    state.counters["visited_ratio"] = f.allVisited.total / f.bare.total;
    state.counters["bare_shm"] = f.bareSharedImages;
    state.counters["visited_shm"] = f.visitedSharedImages;
    state.counters["visited_anon"] = f.allVisited.anonymous;
    state.counters["visited_file"] = f.allVisited.fileBacked;
}

} // namespace

void registerStartupBenchmarks()
{
    using benchmark::RegisterBenchmark;
    RegisterBenchmark("StartUp/end_to_end", startUpEndToEnd)
        ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
    RegisterBenchmark("StartUp/fresh_process", startUpFreshProcess)
        ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
    RegisterBenchmark("StartUp/in_process", startUpInProcess)->UseManualTime()->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Navigation/first_click/fresh_process", firstClickFreshProcess)
        ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Navigation/first_click/in_process", firstClickInProcess)
        ->UseManualTime()->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Navigation/later_click/in_process", laterClickInProcess)
        ->UseManualTime()->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Navigation/xvfb", navigationOnXServer)
        ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Memory/fresh_process", memoryFreshProcess)
        ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Memory/pastes/fresh_process", pasteMemoryFreshProcess)
        ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Memory/xvfb", memoryOnXServer)
        ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
}
