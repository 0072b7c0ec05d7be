// Every way of pasting into a parameter box ends at the box's limit and tells
// the user of a cut, and a paste that fits stays an ordinary paste: whole,
// untold, and undone by Ctrl+Z.

#include "shell/failurenotice.h"
#include "shell/parameterbox.h"
#include "tests/support/pagefixture.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>

#include <functional>

namespace {

struct PasteRoute {
    const char *name;
    // Pastes `text` into the box the way the user does; for the routes
    // through the clipboard, the text is on the clipboard already.
    std::function<void(QLineEdit *box, const QString &text)> paste;
    // What Ctrl+Z leaves after "12" typed and "34" pasted: a paste is an
    // undo step of its own, a drop joins the typing before it (as in any
    // line edit).
    const char *afterUndo = "12";
};

void PrintTo(const PasteRoute &route, std::ostream *out)
{
    *out << route.name;
}

void pasteFromContextMenu(QLineEdit *box, const QString &)
{
    const QPoint at = box->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, box->mapToGlobal(at));
    QApplication::sendEvent(box, &event);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr) << "no context menu";
    QAction *paste = nullptr;
    for (QAction *action : menu->actions()) {
        if (action->text().startsWith(QLineEdit::tr("&Paste")))
            paste = action;
    }
    ASSERT_NE(paste, nullptr) << "the context menu has no Paste";
    paste->trigger();
    menu->close();
}

void dropFromAnotherProgram(QLineEdit *box, const QString &text)
{
    QMimeData data;
    data.setText(text);
    // Qt delivers a drop to the widget that accepted the drag's entry.
    QDragEnterEvent enter(box->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    ASSERT_TRUE(enter.isAccepted()) << "the box refuses the drag";
    QDropEvent drop(QPointF(box->rect().center()), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &drop);
}

class PasteIntoABox : public PagesFixture, public testing::WithParamInterface<PasteRoute>
{
protected:
    void SetUp() override
    {
        PagesFixture::SetUp();
        ASSERT_TRUE(QTest::qWaitForWindowActive(page(Page::Home)));
        columnId = page(Page::Home)->findChild<QLineEdit *>(QStringLiteral("columnId"));
        ASSERT_NE(columnId, nullptr);
        columnId->setFocus();
    }
    void paste(const QString &text)
    {
        QApplication::clipboard()->setText(text);
        GetParam().paste(columnId, text);
    }
    FailureNotice *notice() const
    {
        return page(Page::Home)->findChild<FailureNotice *>(QStringLiteral("PasteCutNotice"));
    }

    QLineEdit *columnId = nullptr;
};

TEST_P(PasteIntoABox, ATextOverTheLimitIsCutAndTheUserTold)
{
    paste(QString(100000, u'5'));
    // Compared by length and content apart: a failure would print the text.
    EXPECT_EQ(columnId->text().size(), ParameterBox::kMaxLength);
    EXPECT_EQ(columnId->text().count(u'5'), ParameterBox::kMaxLength);
    ASSERT_NE(notice(), nullptr);
    EXPECT_TRUE(notice()->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), columnId);
    // The snippet comes from what the box kept.
    EXPECT_TRUE(outputText(Page::Home).contains(QStringLiteral("typeid='") + columnId->text() + u'\''));
}

TEST_P(PasteIntoABox, ATextThatFitsIsAnOrdinaryPaste)
{
    typeText(columnId, QStringLiteral("12"));
    paste(QStringLiteral("34"));
    EXPECT_EQ(columnId->text(), QStringLiteral("1234"));
    EXPECT_EQ(notice(), nullptr);
    QTest::keySequence(columnId, QKeySequence::Undo);
    EXPECT_EQ(columnId->text(), QString::fromLatin1(GetParam().afterUndo));
}

INSTANTIATE_TEST_SUITE_P(
    Routes, PasteIntoABox,
    testing::Values(PasteRoute{"CtrlV",
                               [](QLineEdit *box, const QString &) {
                                   QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
                               }},
                    PasteRoute{"ShiftInsert",
                               [](QLineEdit *box, const QString &) {
                                   QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
                               }},
                    PasteRoute{"ContextMenu", pasteFromContextMenu},
                    PasteRoute{"Drop", dropFromAnotherProgram, ""}),
    [](const testing::TestParamInfo<PasteRoute> &info) { return std::string(info.param.name); });

// The notice comes for every paste that is cut, and for no other; closed, it
// stays closed until the next cut. One notice serves the page.
TEST_F(PagesFixture, TheUserIsToldOfEveryCutPasteAndOfNoOther)
{
    auto *rows = page(Page::Home)->findChild<ParameterBox *>(QStringLiteral("articleRows"));
    auto *columnId = page(Page::Home)->findChild<ParameterBox *>(QStringLiteral("columnId"));
    ASSERT_TRUE(rows && columnId);
    const QString tooLong(ParameterBox::kMaxLength + 10, u'1');

    rows->pasteText(tooLong);
    auto *notice = page(Page::Home)->findChild<FailureNotice *>(QStringLiteral("PasteCutNotice"));
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    notice->close();

    rows->clear();
    rows->pasteText(QStringLiteral("8"));
    EXPECT_FALSE(notice->isVisible());
    columnId->pasteText(tooLong);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(page(Page::Home)->findChildren<FailureNotice *>(QStringLiteral("PasteCutNotice")).size(), 1);
    EXPECT_EQ(rows->text(), QStringLiteral("8"));
}

} // namespace

namespace {

// A long selection erased by the keyboard leaves the box in one step, and
// the snippet follows; a cut puts the text on the clipboard first. The list
// page's title length box rebuilds the snippet without copying it, so the cut
// text stays on the clipboard.
TEST_F(PagesFixture, ErasingALongSelectionLeavesTheRest)
{
    goTo(Page::List);
    ASSERT_TRUE(QTest::qWaitForWindowActive(page(Page::List)));
    auto *titleLength = page(Page::List)->findChild<QLineEdit *>(QStringLiteral("listTitleLength"));
    ASSERT_NE(titleLength, nullptr);
    const QString tail(ParameterBox::kMaxLength - 2, u'x');
    struct Erase {
        const char *what;
        std::function<void()> press;
        bool copies;
    };
    const Erase erases[] = {
        {"Backspace", [&] { QTest::keyClick(titleLength, Qt::Key_Backspace); }, false},
        {"Delete", [&] { QTest::keyClick(titleLength, Qt::Key_Delete); }, false},
        {"Cut", [&] { QTest::keySequence(titleLength, QKeySequence::Cut); }, true},
    };
    for (const Erase &erase : erases) {
        SCOPED_TRACE(erase.what);
        QApplication::clipboard()->setText(QStringLiteral("before"));
        titleLength->setText(QStringLiteral("12") + tail);
        titleLength->setSelection(2, int(tail.size()));
        erase.press();
        EXPECT_EQ(titleLength->text(), QStringLiteral("12"));
        EXPECT_EQ(titleLength->cursorPosition(), 2);
        EXPECT_TRUE(outputText(Page::List).startsWith(QStringLiteral("{zuvi:list titlelen='12'}")));
        EXPECT_TRUE(clipboardText() == (erase.copies ? tail : QStringLiteral("before")));
    }
}

} // namespace
