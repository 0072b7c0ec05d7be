// When the system clipboard refuses the text: the snippet stays in the output
// box, the selection and every page's state are kept, the user is told once
// per run of failures, and the program goes on.

#include "core/catalog/homebuilders.h"
#include "shell/copiednote.h"
#include "shell/failurenotice.h"
#include "tests/support/pagedata.h"
#include "shell/qtpageview.h"
#include "shell/platform/clipboard.h"
#include "core/catalog/snippet.h"
#include "tests/support/pagefixture.h"

#include <QLineEdit>

namespace {

class ClipboardFailure : public PagesFixture
{
protected:
    void SetUp() override
    {
        PagesFixture::SetUp();
        clipboard.refuse();
    }

    FailureNotice *notice(int number) const
    {
        return page(number)->findChild<FailureNotice *>(QStringLiteral("ClipboardFailureNotice"));
    }
    static QString snippet(int number, int index)
    {
        return snippetText(pageData(number).entry(qint16(index))->lines);
    }

    const QStringList &offered = clipboard.refused;
};

TEST_F(ClipboardFailure, AnEntryClickKeepsTheSnippetInTheBoxAndTellsTheUserWithoutBlocking)
{
    goTo(Page::Content);
    clickOn(entry(Page::Content, 3));

    EXPECT_TRUE(entry(Page::Content, 3)->isChecked());
    EXPECT_EQ(outputText(Page::Content), snippet(Page::Content, 3));
    EXPECT_EQ(offered, QStringList{snippet(Page::Content, 3)});
    EXPECT_EQ(clipboardText(), QStringLiteral("before the test"));

    FailureNotice *shown = notice(Page::Content);
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_FALSE(shown->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(shown->message(), clipboardFailureMessage());
    EXPECT_TRUE(shown->message().contains(QStringLiteral("输出框")));
    EXPECT_FALSE(shown->detailLine()->isVisible());
    // Nothing to copy from the notice: the text is in the output box.
    EXPECT_EQ(shown->findChild<QPushButton *>(QStringLiteral("CopyDetail")), nullptr);

    // The page still works: another entry, in another frame, takes over.
    clickOn(entry(Page::Content, 20));
    EXPECT_TRUE(entry(Page::Content, 20)->isChecked());
    EXPECT_FALSE(entry(Page::Content, 3)->isChecked());
    EXPECT_EQ(outputText(Page::Content), snippet(Page::Content, 20));
}

TEST_F(ClipboardFailure, TheUserIsToldOncePerRunOfFailures)
{
    goTo(Page::Content);
    clickOn(entry(Page::Content, 1));
    FailureNotice *shown = notice(Page::Content);
    ASSERT_NE(shown, nullptr);
    shown->close();

    // Still failing: closed is closed.
    clickOn(entry(Page::Content, 2));
    EXPECT_FALSE(shown->isVisible());
    EXPECT_EQ(offered.size(), 2);

    // A copy that works ends the run; the next failure is told again, with
    // the same notice.
    clipboard.accept();
    clickOn(entry(Page::Content, 4));
    EXPECT_EQ(clipboardText(), snippet(Page::Content, 4));
    EXPECT_FALSE(shown->isVisible());
    clipboard.refuse();
    clickOn(entry(Page::Content, 5));
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(page(Page::Content)->findChildren<FailureNotice *>().size(), 1);
    EXPECT_EQ(clipboardText(), snippet(Page::Content, 4));
    EXPECT_EQ(outputText(Page::Content), snippet(Page::Content, 5));
}

TEST_F(ClipboardFailure, TypingGoesOnInTheBuilderBoxWhileTheClipboardRefuses)
{
    auto *columnId = page(Page::Home)->findChild<QLineEdit *>(QStringLiteral("columnId"));
    ASSERT_NE(columnId, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(page(Page::Home)));
    columnId->setFocus();
    typeText(columnId, QStringLiteral("12"));

    // Every keystroke rebuilt the snippet and offered it; the notice did not
    // take the keyboard away from the box.
    EXPECT_EQ(columnId->text(), QStringLiteral("12"));
    const QString expected = snippetText(navigationMenuSnippet(columnAttributeItems().first(), QStringLiteral("12"), QString()));
    EXPECT_EQ(outputText(Page::Home), expected);
    ASSERT_EQ(offered.size(), 2);
    EXPECT_EQ(offered.last(), expected);
    ASSERT_NE(notice(Page::Home), nullptr);
    EXPECT_TRUE(notice(Page::Home)->isVisible());
    EXPECT_TRUE(notice(Page::Home)->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(QApplication::activeWindow(), page(Page::Home));
    EXPECT_EQ(QApplication::focusWidget(), columnId);
    EXPECT_EQ(clipboardText(), QStringLiteral("before the test"));
}

TEST_F(ClipboardFailure, NavigationAndOtherPagesAreUntouched)
{
    goTo(Page::Shop);
    clickOn(entry(Page::Shop, 0));
    goTo(Page::List);
    clickOn(entry(Page::List, 0));
    goTo(Page::Shop);

    EXPECT_TRUE(page(Page::Shop)->isVisible());
    EXPECT_FALSE(page(Page::List)->isVisible());
    EXPECT_TRUE(entry(Page::Shop, 0)->isChecked());
    EXPECT_EQ(outputText(Page::Shop), snippet(Page::Shop, 0));
    EXPECT_TRUE(entry(Page::List, 0)->isChecked());
    EXPECT_EQ(outputText(Page::List), snippet(Page::List, 0));
    // Each page tells its own user once.
    EXPECT_NE(notice(Page::Shop), nullptr);
    EXPECT_NE(notice(Page::List), nullptr);
}

TEST_F(ClipboardFailure, NoCopiedNoteForARefusedCopyAndNoneLeftFromAnEarlierOne)
{
    goTo(Page::Content);
    const auto noteShown = [this] {
        const CopiedNote *note = page(Page::Content)->findChild<CopiedNote *>();
        return note && note->isVisible();
    };
    clickOn(entry(Page::Content, 3));
    EXPECT_FALSE(noteShown());
    ASSERT_NE(notice(Page::Content), nullptr);
    EXPECT_TRUE(notice(Page::Content)->isVisible());

    clipboard.accept();
    clickOn(entry(Page::Content, 4));
    EXPECT_TRUE(noteShown());
    // Refused while the note of the copy before still shows: it goes at once.
    clipboard.refuse();
    clickOn(entry(Page::Content, 5));
    EXPECT_FALSE(noteShown());
    EXPECT_EQ(clipboardText(), snippet(Page::Content, 4));
}

// The system clipboard, which works here, reports the text as written.
TEST(SystemClipboard, ReportsAWriteThatArrived)
{
    const QString text = QStringLiteral("{zuvi:sitename/}\r\n末行 ");
    SystemClipboard system;
    EXPECT_TRUE(system.put(text));
    EXPECT_EQ(QApplication::clipboard()->text(), text);
}

} // namespace
