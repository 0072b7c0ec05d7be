// A long paste on a real X server, with a server and program of its own: the
// X11 selection pasted with the middle button into a parameter box, longer
// than the box holds.

#include "core/catalog/pagecatalog.h"
#include "core/catalog/pagetable.h"
#include "core/catalog/twips.h"
#include "tests/realwindow/xsession.h"

#include <QDeadlineTimer>
#include <QThread>
#include <gtest/gtest.h>

namespace {

QByteArray navigationMenu(const QByteArray &columnId)
{
    return "{zuvi:channel type='top' typeid='" + columnId
           + "' currentstyle='on'}\r\n<a href='{$field.typeurl}' class='{$field.currentstyle}'>{$field.typename}</a>\r\n"
             "{/zuvi:channel}\r\n";
}

TEST(LongPaste, TheMiddleButtonPastesWhatFitsAndTheUserIsToldWhileTypingGoesOn)
{
    XSession session(QStringLiteral(ZUVI_TAGGEN_PATH));
    ASSERT_TRUE(session.ready()) << session.error().toStdString();
    const auto origin = session.visibleWindowOrigin();
    ASSERT_TRUE(origin) << "no single visible page window";
    const PageCatalog home = PageCatalog::load(dataFilePath(Page::Home));
    const CatalogControl *columnId = home.control(QStringLiteral("columnId"));
    ASSERT_NE(columnId, nullptr);
    const QPoint box = *origin + toPixels(home.pageRect(*columnId)).center();

    // Longer than the box's 65535 characters, and longer than the X server
    // hands over in one piece.
    ASSERT_TRUE(session.offerSelection(QStringLiteral("primary"), QByteArray(300000, '7')));
    session.click(box, 2);

    const QByteArray kept(65535, '7');
    QByteArray snippet = session.waitForClipboard(navigationMenu(kept));
    EXPECT_TRUE(snippet == navigationMenu(kept)) << "the clipboard holds " << snippet.size() << " bytes";
    QDeadlineTimer deadline(4000);
    while (session.visibleWindowCount() != 2 && !deadline.hasExpired())
        QThread::msleep(50);
    EXPECT_EQ(session.visibleWindowCount(), 2) << "no notice beside the page";

    // The keyboard stayed in the box.
    session.key(QStringLiteral("BackSpace"));
    snippet = session.waitForClipboard(navigationMenu(kept.left(65534)));
    EXPECT_TRUE(snippet == navigationMenu(kept.left(65534))) << "the clipboard holds " << snippet.size() << " bytes";
    EXPECT_TRUE(session.programRunning());
}

} // namespace
