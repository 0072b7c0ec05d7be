#include "bench/freshprocess.h"

#include "core/catalog/pageview.h"
#include "shell/catalogpage.h"
#include "shell/startup.h"
#include "core/catalog/pagetable.h"
#include "app/pagefactory.h"
#include "shell/platform/clipboard.h"
#include "shell/pageset.h"
#include "shell/pagewindow.h"
#include "tools/xvfbserver.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QHash>
#include <QProcess>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const char kChildFlag[] = "--zuvi-child=";

void print(const char *key, double value)
{
    std::printf("%s=%.4f\n", key, value);
}

void printResidency(const char *prefix, const Residency &r)
{
    std::printf("%s_rss=%.4f\n%s_anon=%.4f\n%s_file=%.4f\n", prefix, r.total, prefix, r.anonymous, prefix,
                r.fileBacked);
}

int runBare()
{
    const auto start = Clock::now();
    const std::unique_ptr<QWidget> window = showBareWindow();
    const PaintCounter paints(window.get());
    settleUntilPainted(paints);
    const auto shown = Clock::now();
    if (paints.count() == 0) {
        std::printf("error=the bare window was not painted\n");
        return 1;
    }
    print("startup_ms", millisecondsBetween(start, shown));
    printResidency("bare", readResidency());
    print("bare_shared", readSharedImageResidency());
    return 0;
}

// Clicks navigation button `target` and returns the time until the target
// page has been painted; negative if it was not painted.
double timedNavigation(PageSet &pages, int target)
{
    const auto start = Clock::now();
    clickNavigation(pages, target);
    const PaintCounter paints(pages.page(target));
    settleUntilPainted(paints);
    const auto painted = Clock::now();
    return paints.count() > 0 ? millisecondsBetween(start, painted) : -1;
}

int runPages()
{
    const auto start = Clock::now();
    prepareApplication();
    const auto prepared = Clock::now();
    SystemClipboard clipboard;
    PageSet pages(pageFactory(clipboard));
    pages.start();
    const PaintCounter paints(pages.page(Page::Home));
    settleUntilPainted(paints);
    const auto shown = Clock::now();
    if (paints.count() == 0) {
        std::printf("error=the home page was not painted\n");
        return 1;
    }
    print("startup_ms", millisecondsBetween(start, shown));
    print("prepare_ms", millisecondsBetween(start, prepared));
    printResidency("home", readResidency());

    const double firstClick = timedNavigation(pages, Page::List);
    printResidency("nine", readResidency());
    const double firstVisit = timedNavigation(pages, Page::Content);
    for (int page = Page::Shop; page <= kLastPage; ++page)
        timedNavigation(pages, page);
    const double laterClick = timedNavigation(pages, Page::List);
    if (firstClick < 0 || firstVisit < 0 || laterClick < 0) {
        std::printf("error=a page was not painted after navigation\n");
        return 1;
    }
    print("first_click_ms", firstClick);
    print("first_visit_ms", firstVisit);
    print("later_click_ms", laterClick);
    printResidency("visited", readResidency());
    print("visited_shared", readSharedImageResidency());

    // Every other page once more, each shown before: the slowest of these.
    double slowest = 0;
    for (int page = kFirstPage; page <= kLastPage; ++page) {
        if (page == Page::List)
            continue;
        const double ms = timedNavigation(pages, page);
        if (ms < 0) {
            std::printf("error=page %d was not painted when shown again\n", page);
            return 1;
        }
        slowest = std::max(slowest, ms);
    }
    print("later_click_slowest_ms", slowest);
    return 0;
}

void sendShortcut(QWidget *widget, int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(widget, &release);
}

int runPastes()
{
    prepareApplication();
    SystemClipboard clipboard;
    PageSet pages(pageFactory(clipboard));
    pages.start();
    settle();
    auto *home = qobject_cast<CatalogPage *>(pages.page(Page::Home)->content());
    QLineEdit *box = home ? home->widget<QLineEdit>(QStringLiteral("columnId")) : nullptr;
    if (!box) {
        std::printf("error=the home page has no column ID box\n");
        return 1;
    }
    box->setFocus();
    // A short value typed first: the first snippet sets up what any snippet
    // needs once (the output box's code face, its glyphs, the colouring), and
    // the figure is what the pastes leave behind.
    QKeyEvent digit(QEvent::KeyPress, Qt::Key_7, Qt::NoModifier, QStringLiteral("7"));
    QApplication::sendEvent(box, &digit);
    // Made before the first reading: it stands for the other program's copy.
    const QString megabyte(1 << 20, u'7');
    settle();
    print("before_rss", readResidency().total);
    for (int i = 0; i < PasteMemoryFigures::kPastes; ++i) {
        QApplication::clipboard()->setText(megabyte);
        sendShortcut(box, Qt::Key_A);
        sendShortcut(box, Qt::Key_V);
        settle();
        std::printf("paste%d_rss=%.4f\n", i + 1, readResidency().total);
    }
    print("kept_chars", double(box->text().size()));
    if (!home->view().outputText().contains(box->text())) {
        std::printf("error=the snippet was not built from the pasted text\n");
        return 1;
    }
    sendShortcut(box, Qt::Key_A);
    settle();
    const auto clearing = Clock::now();
    sendShortcut(box, Qt::Key_Backspace, Qt::NoModifier);
    settle();
    print("clear_ms", millisecondsBetween(clearing, Clock::now()));
    if (!box->text().isEmpty()) {
        std::printf("error=the box was not emptied\n");
        return 1;
    }
    const Residency cleared = readResidency();
    print("cleared_rss", cleared.total);
    print("peak_rss", cleared.peak);
    return 0;
}

using Figures = QHash<QString, double>;

Figures runChildProcess(const QString &mode, const QProcessEnvironment &environment, QString *error)
{
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments({QString::fromLatin1(kChildFlag) + mode});
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start();
    if (!child.waitForFinished(120000) || child.exitStatus() != QProcess::NormalExit) {
        *error = QStringLiteral("child %1 did not finish").arg(mode);
        return {};
    }
    Figures figures;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QString key = QString::fromLatin1(line.left(eq));
        if (key == QStringLiteral("error"))
            *error = QStringLiteral("child %1: %2").arg(mode, QString::fromUtf8(line.mid(eq + 1)));
        else
            figures.insert(key, line.mid(eq + 1).toDouble());
    }
    if (child.exitCode() != 0 && error->isEmpty())
        *error = QStringLiteral("child %1 exited with %2").arg(mode).arg(child.exitCode());
    return figures;
}

FreshProcessFigures measure(const QProcessEnvironment &environment)
{
    FreshProcessFigures result;
    result.rounds = qEnvironmentVariableIsSet("ZUVI_BENCH_ROUNDS") ? qEnvironmentVariableIntValue("ZUVI_BENCH_ROUNDS")
                                                                   : 9;
    result.rounds = std::max(result.rounds, 1);

    // One round unmeasured first, so that the program, the Qt libraries and
    // the font files are in the page cache for every measured round alike.
    runChildProcess(QStringLiteral("bare"), environment, &result.error);
    runChildProcess(QStringLiteral("pages"), environment, &result.error);

    QHash<QString, std::vector<double>> samples;
    for (int round = 0; round < result.rounds && result.error.isEmpty(); ++round) {
        // Alternating, so that a slow stretch of the machine hits both alike.
        for (const QString &mode : {QStringLiteral("bare"), QStringLiteral("pages")}) {
            const Figures figures = runChildProcess(mode, environment, &result.error);
            for (auto it = figures.cbegin(); it != figures.cend(); ++it)
                samples[mode + u'.' + it.key()].push_back(it.value());
        }
    }
    const auto m = [&](const char *key) { return median(samples.value(QString::fromLatin1(key))); };
    const auto residency = [&](const char *mode, const char *prefix) {
        const QString base = QString::fromLatin1(mode) + u'.' + QString::fromLatin1(prefix);
        return Residency{median(samples.value(base + QStringLiteral("_rss"))),
                         median(samples.value(base + QStringLiteral("_anon"))),
                         median(samples.value(base + QStringLiteral("_file")))};
    };
    result.bareStartup = m("bare.startup_ms");
    result.homeStartup = m("pages.startup_ms");
    result.preparation = m("pages.prepare_ms");
    result.firstClick = m("pages.first_click_ms");
    result.firstVisit = m("pages.first_visit_ms");
    result.laterClick = m("pages.later_click_ms");
    result.laterClickSlowest = m("pages.later_click_slowest_ms");
    result.bare = residency("bare", "bare");
    result.home = residency("pages", "home");
    result.ninePages = residency("pages", "nine");
    result.allVisited = residency("pages", "visited");
    result.bareSharedImages = m("bare.bare_shared");
    result.visitedSharedImages = m("pages.visited_shared");
    return result;
}

FreshProcessFigures measureOnXServer()
{
    const XvfbServer server;
    if (!server.ready()) {
        FreshProcessFigures failed;
        failed.error = server.error();
        return failed;
    }
    QProcessEnvironment environment = server.environment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return measure(environment);
}

} // namespace

bool isChildRun(int argc, char **argv)
{
    return argc >= 2 && std::strncmp(argv[1], kChildFlag, std::strlen(kChildFlag)) == 0;
}

int runChild(int argc, char **argv)
{
    const QByteArray mode = QByteArray(argv[1]).mid(int(std::strlen(kChildFlag)));
    QApplication app(argc, argv);
    if (mode == "bare")
        return runBare();
    if (mode == "pages")
        return runPages();
    if (mode == "pastes")
        return runPastes();
    std::printf("error=unknown child mode %s\n", mode.constData());
    return 2;
}

const FreshProcessFigures &freshProcessFigures()
{
    static const FreshProcessFigures figures = measure(QProcessEnvironment::systemEnvironment());
    return figures;
}

const FreshProcessFigures &xServerFigures()
{
    static const FreshProcessFigures figures = measureOnXServer();
    return figures;
}

namespace {

PasteMemoryFigures measurePastes()
{
    PasteMemoryFigures result;
    result.rounds = qEnvironmentVariableIsSet("ZUVI_BENCH_ROUNDS") ? qEnvironmentVariableIntValue("ZUVI_BENCH_ROUNDS")
                                                                   : 5;
    result.rounds = std::max(result.rounds, 1);
    QHash<QString, std::vector<double>> samples;
    for (int round = 0; round < result.rounds && result.error.isEmpty(); ++round) {
        const Figures figures = runChildProcess(QStringLiteral("pastes"), QProcessEnvironment::systemEnvironment(), &result.error);
        for (auto it = figures.cbegin(); it != figures.cend(); ++it)
            samples[it.key()].push_back(it.value());
    }
    const auto m = [&](const QString &key) { return median(samples.value(key)); };
    result.before = m(QStringLiteral("before_rss"));
    for (int i = 0; i < PasteMemoryFigures::kPastes; ++i)
        result.afterPaste[i] = m(QStringLiteral("paste%1_rss").arg(i + 1));
    result.peak = m(QStringLiteral("peak_rss"));
    result.cleared = m(QStringLiteral("cleared_rss"));
    result.keptChars = m(QStringLiteral("kept_chars"));
    return result;
}

} // namespace

const PasteMemoryFigures &pasteMemoryFigures()
{
    static const PasteMemoryFigures figures = measurePastes();
    return figures;
}
