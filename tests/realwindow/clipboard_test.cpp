// The clipboard at its edges, on a real X server, each case with a server and
// program of its own: another program that wins the race for the clipboard.

#include "core/pagecatalog.h"
#include "core/pagetable.h"
#include "core/twips.h"
#include "tests/realwindow/xsession.h"

#include <QDeadlineTimer>
#include <QThread>
#include <gtest/gtest.h>

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

    clickOnHomePage(session, *origin, QStringLiteral("Option1(1)"));
    EXPECT_TRUE(waitForWindowCount(session, 2)) << "no notice appeared beside the page";
    EXPECT_EQ(session.readClipboard(), rivalText);

    // Every keystroke in a builder box copies again and is refused again;
    // the notice is not shown a second time, and the program goes on.
    clickOnHomePage(session, *origin, QStringLiteral("Text2"));
    session.type(QStringLiteral("12"));
    QThread::msleep(300);
    EXPECT_EQ(session.visibleWindowCount(), 2);
    EXPECT_EQ(session.readClipboard(), rivalText);
    EXPECT_TRUE(session.programRunning());
}

} // namespace
