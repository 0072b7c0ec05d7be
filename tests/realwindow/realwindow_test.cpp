// The built program in a real X11 window: every click and keystroke goes
// through the X server, and the clipboard is read by another process.

#include "core/catalog/pagetable.h"
#include "core/catalog/pagecatalog.h"
#include "app/pagefactory.h"
#include "shell/pagewindow.h"
#include "core/catalog/snippet.h"
#include "tests/realwindow/scenario.h"
#include "tests/realwindow/xsession.h"

#include <QHash>
#include <QMap>
#include <QSet>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

std::vector<Scenario> &allScenarios()
{
    static std::vector<Scenario> scenarios;
    return scenarios;
}

namespace {

QString describeDifference(const QByteArray &expected, const QByteArray &actual)
{
    qsizetype i = 0;
    while (i < expected.size() && i < actual.size() && expected[i] == actual[i])
        ++i;
    return QStringLiteral("first difference at byte %1 (expected %2, got %3)\nexpected: %4\nactual:   %5")
        .arg(i)
        .arg(i < expected.size() ? QString::number(uchar(expected[i])) : QStringLiteral("end"))
        .arg(i < actual.size() ? QString::number(uchar(actual[i])) : QStringLiteral("end"))
        .arg(QString::fromUtf8(expected.toPercentEncoding(" {}$'\"<>/=:|,#")),
             QString::fromUtf8(actual.toPercentEncoding(" {}$'\"<>/=:|,#")));
}

QString describeEntries(const QList<const CatalogControl *> &entries)
{
    QStringList parts;
    for (const CatalogControl *entry : entries)
        parts << QStringLiteral("%1 \"%2\"").arg(entry->name, entry->caption);
    return parts.join(QStringLiteral(", "));
}

QString describeFrame(const PageCatalog &catalog, const QString &frame)
{
    const CatalogControl *control = catalog.control(frame);
    return control ? QStringLiteral("%1 \"%2\"").arg(frame, control->caption)
                   : QStringLiteral("of the entries in no frame");
}

// Navigation button k of a page is named navigationButton<k>.
const QString kNavigationButton = QStringLiteral("navigationButton");

class RealWindow : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        for (const char *tool : {"Xvfb", "xdotool", "xclip"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_FAIL() << tool << " is not installed; scripts/setup.sh installs it";
        }
        session = std::make_unique<XSession>(QStringLiteral(ZUVI_TAGGEN_PATH));
        for (int page = kFirstPage; page < kLastPage; ++page)
            catalogs[page] = std::make_unique<PageCatalog>(PageCatalog::load(dataFilePath(page)));
    }
    static void TearDownTestSuite()
    {
        session.reset();
        for (auto &catalog : catalogs)
            catalog.reset();
    }

    void SetUp() override
    {
        ASSERT_TRUE(session && session->ready()) << (session ? session->error().toStdString() : "");
        ASSERT_TRUE(session->programRunning()) << "the program ended during an earlier test";
    }

    // Clicks at the middle of a control of page `page`, which must be the
    // visible page; the part of a control beyond the window's edge is not
    // on the screen, so the click stays inside.
    static void clickControl(int page, const QString &name)
    {
        const auto origin = session->visibleWindowOrigin();
        ASSERT_TRUE(origin) << "no single visible page window";
        TwipRect r;
        if (name.startsWith(kNavigationButton)) {
            r = navigationButtonRect(page, name.mid(kNavigationButton.size()).toInt());
        } else {
            const CatalogControl *control = catalogs[page]->control(name);
            ASSERT_NE(control, nullptr) << "page " << page << " has no " << name.toStdString();
            r = catalogs[page]->pageRect(*control);
        }
        const QRect pixels = toPixels(r);
        const int x = qMin(pixels.center().x(), twipsToPixels(11295) - 3);
        session->click(*origin + QPoint(x, pixels.center().y()));
    }

    static void goTo(int from, int to)
    {
        clickControl(from, kNavigationButton + QString::number(to));
    }

    static std::unique_ptr<XSession> session;
    static std::unique_ptr<PageCatalog> catalogs[kLastPage + 1];
};

std::unique_ptr<XSession> RealWindow::session;
std::unique_ptr<PageCatalog> RealWindow::catalogs[kLastPage + 1];

TEST_F(RealWindow, EveryEntryOfEveryPagePutsItsSnippetOnTheClipboard)
{
    int current = Page::Home;
    for (int page = kFirstPage; page < kLastPage; ++page) {
        goTo(current, page);
        current = page;
        for (const CatalogControl *entry : catalogs[page]->entries()) {
            clickControl(page, entry->name);
            const QByteArray expected = snippetText(entry->lines).toUtf8();
            const QByteArray actual = session->waitForClipboard(expected);
            EXPECT_TRUE(actual == expected) << "page " << page << ", entry " << entry->index << " \""
                                        << entry->caption.toStdString() << "\": "
                                        << describeDifference(expected, actual).toStdString();
        }
    }
    goTo(current, Page::Home);
    EXPECT_TRUE(session->programRunning());
}

TEST_F(RealWindow, TypingIntoBuilderBoxesRebuildsTheClipboard)
{
    int current = Page::Home;
    for (const Scenario &scenario : allScenarios()) {
        for (size_t n = 0; n < scenario.steps.size(); ++n) {
            const Step &step = scenario.steps[n];
            if (step.page != current) {
                goTo(current, step.page);
                current = step.page;
            }
            const QByteArray before = session->readClipboard();
            if (step.control)
                clickControl(step.page, QString::fromLatin1(step.control));
            if (step.typed) {
                session->key(QStringLiteral("End"));
                session->type(QString::fromUtf16(step.typed));
            }
            if (step.key)
                session->key(QString::fromLatin1(step.key));
            QByteArray expected = step.clipboardKept ? before : QString::fromUtf16(step.clipboard).toUtf8();
            const QByteArray actual = session->waitForClipboard(expected);
            if (step.arrivesOn)
                current = step.arrivesOn;
            EXPECT_TRUE(actual == expected) << scenario.name << ", step " << n + 1 << " on page " << step.page
                                        << " (" << (step.control ? step.control : step.key) << "): "
                                        << describeDifference(expected, actual).toStdString();
        }
    }
    goTo(current, Page::Home);
}

// Keys of the keyboard walk are pressed at xdotool's own pace: the program
// takes them in order whatever the pace, and the walk presses a few hundred.
constexpr int kWalkKeyDelayMs = 12;

// Presses Right on a focused option until the clipboard comes back round to
// `first`, the snippet the option copied; returns the snippets in the order
// chosen, starting with `first`. Gives up after `limit` snippets, or when a
// Right copies nothing new; `cameRound` tells whether it got back to `first`.
QList<QByteArray> walkRound(XSession &session, const QByteArray &first, qsizetype limit, bool *cameRound)
{
    QList<QByteArray> walk{first};
    *cameRound = false;
    while (walk.size() <= limit) {
        session.key(QStringLiteral("Right"), kWalkKeyDelayMs);
        const QByteArray next = session.clipboardChangedFrom(walk.last());
        // A group of one chooses its option again: the clipboard stays.
        *cameRound = next == first;
        if (*cameRound || next == walk.last())
            break;
        walk << next;
    }
    return walk;
}

// A keyboard user goes round a page with Tab, and in every group of options
// with Right until it comes back to where it started; every entry of the page
// must be chosen on the way. An entry is told by the snippet it copies.
TEST_F(RealWindow, TabReachesEveryGroupOfOptionsAndRightEveryOptionInIt)
{
    int current = Page::Home;
    for (int page = kFirstPage; page < kLastPage; ++page) {
        goTo(current, page);
        current = page;
        const PageCatalog &catalog = *catalogs[page];

        // The groups as the page data draws them: one per frame that shows
        // option buttons. Options that are no entries (the home page's
        // layouts) copy what the builder inputs make; they are counted.
        QHash<QByteArray, const CatalogControl *> entryBySnippet;
        QMap<QString, QList<const CatalogControl *>> entriesByFrame;
        QSet<QString> groups;
        int otherOptions = 0;
        int otherTabStops = 0;
        for (const CatalogControl &control : catalog.controls()) {
            switch (control.kind) {
            case CatalogControl::Kind::Entry:
                entryBySnippet.insert(snippetText(control.lines).toUtf8(), &control);
                entriesByFrame[catalog.shownInFrame(control)] << &control;
                groups.insert(catalog.shownInFrame(control));
                break;
            case CatalogControl::Kind::Option:
                ++otherOptions;
                groups.insert(catalog.shownInFrame(control));
                break;
            case CatalogControl::Kind::TextBox:
            case CatalogControl::Kind::Combo:
            case CatalogControl::Kind::Output:
                ++otherTabStops;
                break;
            default:
                break;
            }
        }
        const qsizetype tabStops = groups.size() + otherTabStops;

        // The walk starts with an entry of the largest group chosen: the
        // program owns the clipboard (its answers to reads tell when it has
        // handled a key), and the first Right in any group changes it.
        const auto largest = std::max_element(entriesByFrame.cbegin(), entriesByFrame.cend(),
                                              [](const auto &a, const auto &b) { return a.size() < b.size(); });
        ASSERT_NE(largest, entriesByFrame.cend()) << "page " << page << " has no entries";
        const CatalogControl *start = largest->first();
        clickControl(page, start->name);
        QByteArray clipboard = snippetText(start->lines).toUtf8();
        ASSERT_EQ(session->waitForClipboard(clipboard), clipboard) << "page " << page << ", " << start->name.toStdString();

        // Clicking the own button gives it the focus; Tab then passes the
        // other eight. A Right on a push button would move the focus on as a
        // Tab does, so the probing starts behind the navigation bar.
        clickControl(page, kNavigationButton + QString::number(page));
        session->key(QStringLiteral("Tab ").repeated(kPageCount - 1), kWalkKeyDelayMs);

        QSet<QString> enteredGroups;
        bool otherOptionsFound = otherOptions == 0;
        QStringList faults;
        for (qsizetype tab = 1; tab <= tabStops && !(otherOptionsFound && enteredGroups.size() == entriesByFrame.size());
             ++tab) {
            // Right on an option chooses the next one of its group and copies
            // it; on a box, a drop-down or the output box it copies nothing.
            session->key(QStringLiteral("Tab Right"), kWalkKeyDelayMs);
            const QByteArray first = session->clipboardChangedFrom(clipboard);
            if (first == clipboard)
                continue;
            bool cameRound = false;
            const QList<QByteArray> walk =
                walkRound(*session, first, entryBySnippet.size() + otherOptions, &cameRound);
            clipboard = cameRound ? first : walk.last();
            const QString where = QStringLiteral("Tab %1 past the navigation bar").arg(tab);
            if (!cameRound) {
                faults << where + QStringLiteral(": Right does not come back round to where it started (%1 options "
                                                 "chosen, then none more)")
                                      .arg(walk.size());
            }

            QList<const CatalogControl *> walkedEntries;
            QMap<QString, QList<const CatalogControl *>> walkedByFrame;
            QSet<QByteArray> otherSnippets;
            for (const QByteArray &snippet : walk) {
                if (const CatalogControl *entry = entryBySnippet.value(snippet)) {
                    walkedEntries << entry;
                    walkedByFrame[catalog.shownInFrame(*entry)] << entry;
                } else {
                    otherSnippets.insert(snippet);
                }
            }
            if (walkedByFrame.size() + (otherSnippets.isEmpty() ? 0 : 1) > 1) {
                faults << where + QStringLiteral(": Right runs through the options of several frames: %1 and %2 "
                                                 "options that are no entries")
                                      .arg(describeEntries(walkedEntries))
                                      .arg(otherSnippets.size());
            }
            for (auto it = walkedByFrame.cbegin(); it != walkedByFrame.cend(); ++it) {
                enteredGroups.insert(it.key());
                QList<const CatalogControl *> missed;
                for (const CatalogControl *entry : entriesByFrame.value(it.key())) {
                    if (!it.value().contains(entry))
                        missed << entry;
                }
                if (!missed.isEmpty()) {
                    faults << where + QStringLiteral(" leads into the group %1, where Right comes back round without "
                                                     "choosing %2")
                                          .arg(describeFrame(catalog, it.key()), describeEntries(missed));
                }
            }
            if (!otherSnippets.isEmpty()) {
                otherOptionsFound = true;
                if (otherSnippets.size() != otherOptions) {
                    faults << where + QStringLiteral(": Right chooses %1 different options that are no entries; the "
                                                     "page has %2")
                                          .arg(otherSnippets.size())
                                          .arg(otherOptions);
                }
            }
        }

        for (auto it = entriesByFrame.cbegin(); it != entriesByFrame.cend(); ++it) {
            EXPECT_TRUE(enteredGroups.contains(it.key()))
                << "page " << page << ": " << tabStops << " Tabs past the navigation bar never lead into the group "
                << describeFrame(catalog, it.key()).toStdString() << " (" << describeEntries(it.value()).toStdString()
                << ")";
        }
        EXPECT_TRUE(otherOptionsFound) << "page " << page << ": " << tabStops << " Tabs past the navigation bar never "
                                       << "lead to the " << otherOptions << " options that are no entries";
        EXPECT_TRUE(faults.isEmpty()) << "page " << page << ":\n" << faults.join(u'\n').toStdString();
    }
    goTo(current, Page::Home);
    EXPECT_TRUE(session->programRunning());
}

// A hidden page gives back the image it is drawn into. Shown again on the X
// server, it is where the user left it, and it takes the clicks of the user.
TEST_F(RealWindow, APageShownAgainIsWhereTheUserLeftItAndTakesClicks)
{
    goTo(Page::Home, Page::List);
    const auto placed = session->waitForVisibleWindow([](QPoint) { return true; });
    ASSERT_TRUE(placed) << "the list page does not show";
    const QPoint moved = *placed + QPoint(-93, -57);
    const auto at = [](QPoint where) { return [where](QPoint corner) { return corner == where; }; };
    ASSERT_TRUE(session->moveVisibleWindow(moved));
    ASSERT_EQ(session->waitForVisibleWindow(at(moved)), moved) << "the list page did not move";

    goTo(Page::List, Page::Shop);
    // The shop page stays where it was placed, not where the list page went.
    ASSERT_NE(session->waitForVisibleWindow([&](QPoint corner) { return corner != moved; }), moved);
    goTo(Page::Shop, Page::List);
    EXPECT_EQ(session->waitForVisibleWindow(at(moved)), moved);

    const CatalogControl *entry = catalogs[Page::List]->entries().value(3);
    ASSERT_NE(entry, nullptr);
    clickControl(Page::List, entry->name);
    const QByteArray expected = snippetText(entry->lines).toUtf8();
    EXPECT_TRUE(session->waitForClipboard(expected) == expected) << "the list page shown again takes no click";
    goTo(Page::List, Page::Home);
}

} // namespace
