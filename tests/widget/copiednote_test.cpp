// The note that a copy reached the clipboard: over the output box's corner
// for about a second after a click or a copying keystroke, never for the box
// that does not copy, one note however fast the copies come, and never in
// the way of the keyboard or the mouse.
#include "shell/copiednote.h"
#include "tests/support/pagefixture.h"

#include <QElapsedTimer>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {

class CopiedNoteTest : public PagesFixture
{
protected:
    CopiedNote *note(int number) const { return page(number)->findChild<CopiedNote *>(); }
    bool noteShown(int number) const { return note(number) && note(number)->isVisible(); }
    QLineEdit *box(int number, const QString &name) const { return content(number)->widget<QLineEdit>(name); }
    // Waits for the note to go and says how long it stayed from `since`.
    static qint64 millisecondsUntilGone(const CopiedNote *shown, const QElapsedTimer &since)
    {
        if (!QTest::qWaitFor([&] { return !shown->isVisible(); }, 5000))
            return -1;
        return since.elapsed();
    }
};

TEST_F(CopiedNoteTest, AClickShowsItOverTheBoxCornerForAboutASecond)
{
    goTo(Page::Content);
    QPlainTextEdit *output = content(Page::Content)->outputBox();
    const QRect boxPlace = output->geometry();
    EXPECT_EQ(note(Page::Content), nullptr);

    clickOn(entry(Page::Content, 3));
    QElapsedTimer since;
    since.start();

    CopiedNote *shown = note(Page::Content);
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(shown->text(), u"已复制到剪贴板"_s);
    // A child of the page over the box's top right corner, not a window of
    // its own that a window manager could place.
    EXPECT_FALSE(shown->isWindow());
    EXPECT_EQ(shown->parentWidget(), output->parentWidget());
    EXPECT_TRUE(output->geometry().contains(shown->geometry()));
    EXPECT_LT(shown->y() - output->y(), shown->height());
    EXPECT_GT(shown->x(), output->geometry().center().x());
    EXPECT_EQ(output->geometry(), boxPlace);
    // The mouse goes through it to the box.
    EXPECT_EQ(page(Page::Content)->childAt(page(Page::Content)->mapFrom(shown->parentWidget(), shown->geometry().center())),
              output->viewport());

    const qint64 shownFor = millisecondsUntilGone(shown, since);
    EXPECT_GE(shownFor, 800);
    EXPECT_LE(shownFor, 3000);
}

TEST_F(CopiedNoteTest, ACopyingKeystrokeShowsItAndTheKeyboardStaysInTheBox)
{
    QLineEdit *columnId = box(Page::Home, u"columnId"_s);
    ASSERT_NE(columnId, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(page(Page::Home)));
    columnId->setFocus();
    typeText(columnId, u"1"_s);

    EXPECT_TRUE(noteShown(Page::Home));
    EXPECT_EQ(QApplication::focusWidget(), columnId);
    EXPECT_EQ(QApplication::activeWindow(), page(Page::Home));
    typeText(columnId, u"2"_s);
    EXPECT_EQ(columnId->text(), u"12"_s);
    EXPECT_EQ(clipboardText(), outputText(Page::Home));
}

TEST_F(CopiedNoteTest, TheTitleLengthBoxThatDoesNotCopyShowsNone)
{
    goTo(Page::List);
    QLineEdit *titleLength = box(Page::List, u"listTitleLength"_s);
    ASSERT_NE(titleLength, nullptr);
    const QString before = outputText(Page::List);
    typeText(titleLength, u"5"_s);
    EXPECT_NE(outputText(Page::List), before);
    EXPECT_EQ(clipboardText(), u"before the test"_s);
    EXPECT_FALSE(noteShown(Page::List));

    // The page-size box beside it copies, and says so.
    typeText(box(Page::List, u"listPageSize"_s), u"3"_s);
    EXPECT_TRUE(noteShown(Page::List));
}

TEST_F(CopiedNoteTest, QuickCopiesKeepOneNoteUpAndEachRestartsItsTime)
{
    goTo(Page::Content);
    ASSERT_TRUE(QTest::qWaitForWindowActive(page(Page::Content)));
    for (int i = 0; i < 10; ++i)
        clickOn(entry(Page::Content, i % 2 ? 1 : 2));
    // An arrow key held down: a press after a press, auto-repeated.
    entry(Page::Content, 0)->setFocus();
    for (int i = 0; i < 20; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), i > 0);
        QApplication::sendEvent(QApplication::focusWidget(), &press);
    }
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(QApplication::focusWidget(), &release);
    EXPECT_NE(content(Page::Content)->selectedOption(), entry(Page::Content, 0));
    EXPECT_EQ(page(Page::Content)->findChildren<CopiedNote *>().size(), 1);
    CopiedNote *shown = note(Page::Content);
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());

    // A copy 0.6 s into the note's time: it stays its whole time from then,
    // not the 0.4 s left of the first.
    QTest::qWait(600);
    clickOn(entry(Page::Content, 4));
    QElapsedTimer since;
    since.start();
    EXPECT_GE(millisecondsUntilGone(shown, since), 800);
    EXPECT_EQ(page(Page::Content)->findChildren<CopiedNote *>().size(), 1);
}

} // namespace
