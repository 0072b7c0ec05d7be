// A page that navigation hides keeps its state, its place and its own
// windows, and gives back the image it is drawn into until it is shown again.

#include "shell/failurenotice.h"
#include "tests/support/pagefixture.h"
#include "tests/support/qtprinters.h"

#include <QAbstractItemView>
#include <QBackingStore>
#include <QComboBox>
#include <QLineEdit>
#include <QScreen>
#include <QWindow>

namespace {

using HiddenPages = PagesFixture;

TEST_F(HiddenPages, KeepTheirSelectionTextAndPosition)
{
    goTo(Page::List);
    clickOn(entry(Page::List, 6));
    const QString listText = outputText(Page::List);
    page(Page::List)->move(40, 30);
    const QPoint moved = page(Page::List)->pos();
    goTo(Page::Content);
    clickOn(entry(Page::Content, 0));
    goTo(Page::List);
    EXPECT_TRUE(entry(Page::List, 6)->isChecked());
    EXPECT_EQ(outputText(Page::List), listText);
    EXPECT_EQ(page(Page::List)->pos(), moved);
    EXPECT_NE(page(Page::Content)->pos(), moved);
    // The clipboard holds the last copy, from whichever page.
    EXPECT_EQ(clipboardText(), outputText(Page::Content));
}

// A hidden page gives back the image it is drawn into, the memory it holds
// only to be drawn. Shown again, it is as it was left: the control with the
// focus (also one navigation never leaves it on), the selection, the boxes,
// the output, its place, and the same picture on the screen.
TEST_F(HiddenPages, AHiddenPageGivesBackItsImageAndComesBackAsItWasLeft)
{
    PageWindow *home = page(Page::Home);
    ASSERT_TRUE(QTest::qWaitForWindowActive(home));
    auto *columnId = home->findChild<QLineEdit *>(QStringLiteral("columnId"));
    ASSERT_NE(columnId, nullptr);
    typeText(columnId, QStringLiteral("35"));
    clickOn(entry(Page::Home, 2));
    const QString output = outputText(Page::Home);
    QAbstractButton *focused = entry(Page::Home, 4);
    focused->setFocus();
    home->move(40, 30);
    const QPoint place = home->pos();
    // What the screen shows of the page once it has caught up with the
    // changes above, as the widgets draw themselves.
    QScreen *screen = QGuiApplication::primaryScreen();
    const auto onScreen = [&] {
        return screen->grabWindow(home->winId()).toImage().convertToFormat(QImage::Format_RGB32);
    };
    const QImage picture = home->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(QTest::qWaitFor([&] { return onScreen() == picture; }));

    // As navigation does it, without the focus it puts on the own button.
    pages.create(Page::List);
    pages.show(Page::List);
    pages.hide(Page::Home);
    const QSize kept = home->backingStore()->size();
    EXPECT_LE(kept.width() * kept.height(), 16) << "the hidden page keeps an image of " << kept.width() << " x " << kept.height();

    pages.show(Page::Home);
    pages.hide(Page::List);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(home));
    EXPECT_EQ(home->focusWidget(), focused);
    EXPECT_TRUE(entry(Page::Home, 2)->isChecked());
    EXPECT_EQ(columnId->text(), QStringLiteral("35"));
    EXPECT_EQ(outputText(Page::Home), output);
    EXPECT_EQ(home->pos(), place);
    EXPECT_TRUE(QTest::qWaitFor([&] { return onScreen() == picture; }))
        << "the page shown again is not drawn as it was left";
}

// The windows a page opens (a drop-down's list, a notice) stay tied to its
// window when it has been hidden and shown again, and a notice still showing
// while its page is hidden stays whole.
TEST_F(HiddenPages, APageKeepsItsOwnWindowsWhenItComesBack)
{
    PageWindow *home = page(Page::Home);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(home));
    auto *combo = home->findChild<QComboBox *>(QStringLiteral("columnAttribute"));
    ASSERT_NE(combo, nullptr);
    combo->showPopup();
    QWidget *list = combo->view()->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list));
    combo->hidePopup();
    auto *notice = new FailureNotice(home, QStringLiteral("Notice"), false);
    notice->showFailure(QStringLiteral("未能完成"));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(notice));

    goTo(Page::List);
    QTest::qWait(20);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->backingStore()->size(), notice->size());
    goTo(Page::Home);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(home));
    EXPECT_EQ(notice->windowHandle()->transientParent(), home->windowHandle());
    combo->showPopup();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list));
    EXPECT_EQ(list->windowHandle()->transientParent(), home->windowHandle());
    combo->hidePopup();
}

} // namespace
