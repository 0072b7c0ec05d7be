// The clipboard at its edges, on a real X server, each case with a server and
// program of its own: another program that wins the race for the clipboard,
// and the program ended by a signal while a clipboard manager waits to keep
// its last snippet.

#include "core/catalog/pagecatalog.h"
#include "core/catalog/pagetable.h"
#include "core/catalog/snippet.h"
#include "core/catalog/twips.h"
#include "tests/realwindow/xsession.h"

#include <QDeadlineTimer>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <ostream>

namespace {

// Clicks the middle of a control of the home page, whose window has its
// top-left corner at `origin` on the screen.
void clickOnHomePage(XSession &session, QPoint origin, const QString &name)
{
    static const PageCatalog home = PageCatalog::load(dataFilePath(Page::Home));
    const CatalogControl *control = home.control(name);
    ASSERT_NE(control, nullptr) << name.toStdString();
    session.click(origin + toPixels(home.pageRect(*control)).center());
}

QByteArray homeEntrySnippet(int index)
{
    static const PageCatalog home = PageCatalog::load(dataFilePath(Page::Home));
    const CatalogControl *entry = home.entry(qint16(index));
    return entry ? snippetText(entry->lines).toUtf8() : QByteArray("<no entry ") + QByteArray::number(index) + '>';
}

bool waitForWindowCount(XSession &session, int count)
{
    QDeadlineTimer deadline(4000);
    while (session.visibleWindowCount() != count) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}

TEST(ClipboardRace, AnotherProgramThatTakesTheClipboardFirstKeepsItAndTheUserIsToldOnce)
{
    // The rival takes CLIPBOARD just before each of the program's requests,
    // which the X server then refuses (see clipboardrival.cpp).
    const QByteArray rivalText = "copied in another program";
    XSession session(QStringLiteral(ZUVI_TAGGEN_PATH),
                     {QStringLiteral("LD_PRELOAD=" ZUVI_CLIPBOARD_RIVAL_PATH),
                      QStringLiteral("ZUVI_RIVAL_TEXT=") + QString::fromUtf8(rivalText)});
    ASSERT_TRUE(session.ready()) << session.error().toStdString();
    // Taken now: with the notice up, two windows bear the caption.
    const auto origin = session.visibleWindowOrigin();
    ASSERT_TRUE(origin) << "no single visible page window";

    clickOnHomePage(session, *origin, QStringLiteral("homePageTag1"));
    EXPECT_TRUE(waitForWindowCount(session, 2)) << "no notice appeared beside the page";
    EXPECT_EQ(session.readClipboard(), rivalText);

    // Every keystroke in a builder box copies again and is refused again;
    // the notice is not shown a second time, and the program goes on.
    clickOnHomePage(session, *origin, QStringLiteral("columnId"));
    session.type(QStringLiteral("12"));
    QThread::msleep(300);
    EXPECT_EQ(session.visibleWindowCount(), 2);
    EXPECT_EQ(session.readClipboard(), rivalText);
    EXPECT_TRUE(session.programRunning());
}

struct Termination {
    int signal;
    const char *name;
    int entry;   // the home page entry clicked before the signal
};

void PrintTo(const Termination &termination, std::ostream *out)
{
    *out << termination.name;
}

class TerminationSignal : public testing::TestWithParam<Termination>
{
};

TEST_P(TerminationSignal, HandsTheLastSnippetToTheClipboardManager)
{
    const Termination &c = GetParam();
    XSession session(QStringLiteral(ZUVI_TAGGEN_PATH));
    ASSERT_TRUE(session.ready()) << session.error().toStdString();
    ASSERT_NE(session.startClient(QStringLiteral(ZUVI_CLIPBOARD_KEEPER_PATH), "ready"), nullptr)
        << "the clipboard manager did not start";

    const auto origin = session.visibleWindowOrigin();
    ASSERT_TRUE(origin) << "no single visible page window";
    clickOnHomePage(session, *origin, QStringLiteral("homePageTag%1").arg(c.entry));
    const QByteArray snippet = homeEntrySnippet(c.entry);
    ASSERT_EQ(session.waitForClipboard(snippet), snippet);

    // Ended through the event loop, with the exit status a shell gives a
    // process that the signal ended.
    EXPECT_EQ(session.endProgramWith(c.signal), 128 + c.signal) << c.name;
    EXPECT_FALSE(session.programRunning());
    EXPECT_EQ(session.readClipboard(), snippet) << c.name;
}

INSTANTIATE_TEST_SUITE_P(EndedBy, TerminationSignal,
                         testing::Values(Termination{SIGTERM, "SIGTERM", 1}, Termination{SIGINT, "SIGINT", 2},
                                         Termination{SIGHUP, "SIGHUP", 3}),
                         [](const testing::TestParamInfo<Termination> &info) { return std::string(info.param.name); });

} // namespace
