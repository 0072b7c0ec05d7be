// One tool per user and display, on a real X server: later starts hand over
// to the running tool and end, whatever the timing, and a crashed tool's
// socket does not keep a new one from starting. Each case has a server, a
// runtime folder and its starts of its own.

#include "core/catalog/pagecatalog.h"
#include "core/catalog/pagetable.h"
#include "core/catalog/snippet.h"
#include "core/catalog/tagsearch.h"
#include "tests/realwindow/xsession.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>

namespace {

const QString kProgram = QStringLiteral(ZUVI_TAGGEN_PATH);

// Waits a few seconds for `condition`; whether it came.
bool eventually(const std::function<bool()> &condition, int timeoutMs = 5000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}

// Without an event loop here, a process is seen to end when waited for.
bool stillRunning(QProcess *process)
{
    return process->state() != QProcess::NotRunning && !process->waitForFinished(10);
}

// What a client printed so far, read until `wanted` is among it or a few
// seconds pass.
QByteArray readUntil(QProcess *client, const QByteArray &wanted, QByteArray &printed)
{
    QDeadlineTimer deadline(5000);
    while (!printed.contains(wanted) && !deadline.hasExpired()) {
        client->waitForReadyRead(100);
        printed += client->readAllStandardOutput();
    }
    return printed;
}

class HandOver : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_runtime.isValid()); }

    // The user's runtime folder, where the tool's socket goes: the test's own.
    QStringList environment() const { return {QStringLiteral("XDG_RUNTIME_DIR=") + m_runtime.path()}; }
    // The sockets, not the lock file beside them, which stays (only the
    // lock on it goes).
    QStringList socketsLeft() const
    {
        QStringList found = QDir(m_runtime.path()).entryList({QStringLiteral("zuvi-taggen-*")}, QDir::System | QDir::Files);
        found.removeIf([](const QString &name) { return name.endsWith(QLatin1String(".lock")); });
        return found;
    }

    QTemporaryDir m_runtime;
};

TEST_F(HandOver, ASecondStartBringsTheRunningToolForwardWithItsStartupIdAndEnds)
{
    XSession session(kProgram, environment());
    ASSERT_TRUE(session.ready()) << session.error().toStdString();
    const QStringList pages = session.visibleWindows();
    ASSERT_EQ(pages.size(), 1);
    const auto origin = session.visibleWindowOrigin();
    ASSERT_TRUE(origin);
    const QPoint inside = *origin + QPoint(120, 120);

    // A launcher that watches for the end of its launch, and another
    // program's window over the page, which has the pointer and so the focus.
    QProcess *launcher = session.startClient(QStringLiteral(ZUVI_STARTUP_WATCHER_PATH), "ready");
    ASSERT_NE(launcher, nullptr);
    const QStringList cover = {QString::number(origin->x()), QString::number(origin->y()), QStringLiteral("400"),
                               QStringLiteral("300")};
    ASSERT_NE(session.startClient(QStringLiteral(ZUVI_DROP_TARGET_PATH), "ready", cover), nullptr);
    ASSERT_NE(session.windowAt(inside), pages.first()) << "the other window does not stand over the page";

    const QByteArray startupId = "launch-of-the-test_TIME4242";
    EXPECT_EQ(session.runToEnd(kProgram, {}, {QStringLiteral("DESKTOP_STARTUP_ID=") + QString::fromLatin1(startupId)}),
              0);
    EXPECT_TRUE(eventually([&] { return session.windowAt(inside) == pages.first(); }))
        << "the page was not raised over the other window";
    EXPECT_TRUE(eventually([&] { return session.focusedWindow() == pages.first(); }))
        << "the page has not the focus: " << session.focusedWindow().toStdString();
    QByteArray announced;
    EXPECT_TRUE(readUntil(launcher, "remove: ID=" + startupId + '\n', announced).contains("remove: ID=" + startupId))
        << "the launch was not ended: " << announced.toStdString();
    EXPECT_EQ(session.visibleWindows(), pages);
    EXPECT_TRUE(session.programRunning());
}

// The bytes that choosing the first result for `query` copies.
QByteArray snippetOfFirstResult(const QString &query)
{
    const TagSearch search = TagSearch::forAllPages();
    const QList<qsizetype> found = search.find(query);
    if (found.isEmpty())
        return "<nothing found>";
    const SearchItem &item = search.items()[found.first()];
    const PageCatalog catalog = PageCatalog::load(dataFilePath(item.page));
    const CatalogControl *entry = catalog.control(item.control);
    return entry ? snippetText(entry->lines).toUtf8() : "<no entry>";
}

// The search box is open with the query typed in: Enter takes its first
// result, which puts `expected` on the clipboard.
void expectSearchBoxGiving(XSession &session, const QByteArray &expected)
{
    // The box stands over the middle of the page.
    const QStringList pages = session.visibleWindows();
    const auto origin = session.visibleWindowOrigin();
    ASSERT_TRUE(origin && pages.size() == 1);
    ASSERT_TRUE(eventually([&] { return session.windowAt(*origin + QPoint(376, 200)) != pages.first(); }))
        << "no search box over the page";
    session.key(QStringLiteral("Return"));
    const QByteArray copied = session.waitForClipboard(expected);
    EXPECT_TRUE(copied == expected) << copied.toStdString();
}

TEST_F(HandOver, SearchOpensTheSearchBoxInTheRunningToolOrInANewOne)
{
    // None runs: the start is the tool, with the box open.
    XSession session(kProgram, environment(), {QStringLiteral("--search"), QStringLiteral("fenye")});
    ASSERT_TRUE(session.ready()) << session.error().toStdString();
    expectSearchBoxGiving(session, snippetOfFirstResult(QStringLiteral("fenye")));

    // One runs: it opens the box over its page.
    EXPECT_EQ(session.runToEnd(kProgram, {QStringLiteral("--search"), QStringLiteral("shang yi pian")}), 0);
    expectSearchBoxGiving(session, snippetOfFirstResult(QStringLiteral("shang yi pian")));
    EXPECT_EQ(session.runToEnd(kProgram, {QStringLiteral("--search=keywords")}), 0);
    expectSearchBoxGiving(session, snippetOfFirstResult(QStringLiteral("keywords")));
    // A builder's snippet, line ends and all, offers to edit it in its
    // builder first, which rebuilds the same bytes.
    const QByteArray navigationMenu = "{zuvi:channel type='top' typeid='7' currentstyle='on'}\r\n"
                                      "<a href='{$field.typeurl}' class='{$field.currentstyle}'>{$field.typename}</a>"
                                      "\r\n{/zuvi:channel}\r\n";
    EXPECT_EQ(session.runToEnd(kProgram, {QStringLiteral("--search"), QString::fromUtf8(navigationMenu)}), 0);
    expectSearchBoxGiving(session, navigationMenu);
    EXPECT_EQ(session.visibleWindows().size(), 1);
    EXPECT_TRUE(session.programRunning());
}

TEST_F(HandOver, ASocketLeftByACrashedToolDoesNotKeepTheNextFromStarting)
{
    XSession session(kProgram, environment());
    ASSERT_TRUE(session.ready()) << session.error().toStdString();
    ASSERT_EQ(session.endProgramWith(SIGKILL), std::nullopt);
    ASSERT_EQ(socketsLeft().size(), 1) << "the crash left no socket to clean up";
    ASSERT_TRUE(eventually([&] { return session.visibleWindows().isEmpty(); }));

    QProcess *next = session.startClient(kProgram);
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(eventually([&] { return session.visibleWindows().size() == 1; }, 40000)) << "the next start shows no page";
    EXPECT_TRUE(stillRunning(next));
    // It listens where the crashed one did: a start after it hands over.
    EXPECT_EQ(session.runToEnd(kProgram, {}), 0);
    EXPECT_EQ(session.visibleWindows().size(), 1);
    EXPECT_TRUE(stillRunning(next));
}

TEST_F(HandOver, StartsAtTheSameInstantEndWithOneTool)
{
    XSession session(QString(), environment());
    ASSERT_TRUE(session.ready()) << session.error().toStdString();
    constexpr int kStarts = 4;
    QList<QProcess *> starts;
    for (int i = 0; i < kStarts; ++i)
        starts << session.startClient(kProgram);
    ASSERT_FALSE(starts.contains(nullptr));

    // All but one hand over and end; the one left shows its page.
    const auto running = [&] { return std::count_if(starts.cbegin(), starts.cend(), stillRunning); };
    EXPECT_TRUE(eventually([&] { return running() == 1 && session.visibleWindows().size() == 1; }, 60000))
        << running() << " running, " << session.visibleWindows().size() << " pages";
    for (QProcess *start : starts) {
        if (start->state() != QProcess::Running) {
            EXPECT_EQ(start->exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(start->exitCode(), 0);
        }
    }
    // And stays so.
    QThread::msleep(500);
    EXPECT_EQ(running(), 1);
    EXPECT_EQ(session.visibleWindows().size(), 1);
}

} // namespace
