// An entry dragged out of the tool on a real X server and dropped into
// another X client: the drop holds exactly the snippet, CR LF and all, and
// the clipboard keeps what it held.

#include "core/catalog/pagecatalog.h"
#include "core/catalog/pagetable.h"
#include "core/catalog/snippet.h"
#include "core/catalog/twips.h"
#include "tests/realwindow/xsession.h"

#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(DropIntoAnotherProgram, AnEntryDraggedOutDropsItsSnippetAndLeavesTheClipboard)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    XSession session(QStringLiteral(ZUVI_TAGGEN_PATH), {QStringLiteral("XDG_RUNTIME_DIR=") + runtime.path()});
    ASSERT_TRUE(session.ready()) << session.error().toStdString();
    const auto origin = session.visibleWindowOrigin();
    ASSERT_TRUE(origin);

    // An editor's window beside the page, left of it on the screen.
    const QRect target(10, 10, 220, 200);
    ASSERT_GT(origin->x(), target.right()) << "the page stands over the drop target";
    QProcess *editor = session.startClient(
        QStringLiteral(ZUVI_DROP_TARGET_PATH), "ready",
        {QString::number(target.x()), QString::number(target.y()), QString::number(target.width()),
         QString::number(target.height())});
    ASSERT_NE(editor, nullptr);

    // A snippet of several lines is dragged; another one is on the clipboard.
    const PageCatalog home = PageCatalog::load(dataFilePath(Page::Home));
    const CatalogControl *copied = nullptr;
    const CatalogControl *dragged = nullptr;
    for (const CatalogControl *entry : home.entries()) {
        if (!dragged && entry->lines.size() > 1)
            dragged = entry;
        else if (!copied)
            copied = entry;
    }
    ASSERT_TRUE(copied && dragged);
    const auto middleOf = [&](const CatalogControl *entry) {
        return *origin + toPixels(home.pageRect(*entry)).center();
    };
    session.click(middleOf(copied));
    const QByteArray onTheClipboard = snippetText(copied->lines).toUtf8();
    ASSERT_EQ(session.waitForClipboard(onTheClipboard), onTheClipboard);

    session.drag(middleOf(dragged), target.center());
    QByteArray printed;
    QDeadlineTimer deadline(8000);
    while (!printed.contains('\n') && !deadline.hasExpired()) {
        editor->waitForReadyRead(100);
        printed += editor->readAllStandardOutput();
    }
    const QList<QByteArray> drop = printed.trimmed().split(' ');
    ASSERT_EQ(drop.size(), 3) << "no drop arrived: " << printed.toStdString();
    EXPECT_EQ(drop[0], "drop");
    EXPECT_TRUE(drop[1].split(',').contains("text/plain")) << drop[1].toStdString();
    const QByteArray expected = snippetText(dragged->lines).toUtf8();
    EXPECT_EQ(QByteArray::fromBase64(drop[2]), expected);

    EXPECT_EQ(session.readClipboard(), onTheClipboard);
    EXPECT_TRUE(session.programRunning());
}

} // namespace
