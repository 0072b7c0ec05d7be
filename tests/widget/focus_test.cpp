// Where the keyboard focus rests and how it shows: on the own navigation
// button when a page comes back, in a frame of its own on any control, and
// the own button taking Enter and Esc.

#include "tests/support/pagefixture.h"
#include "tests/support/qtprinters.h"

namespace {

using Focus = PagesFixture;

TEST_F(Focus, RestsOnTheOwnButtonWhenAPageComesBack)
{
    goTo(Page::List);
    PageWindow *list = page(Page::List);
    list->findChild<QWidget *>(QStringLiteral("listTitleLength"))->setFocus();
    list->navigationButton(Page::Shop)->click();
    EXPECT_EQ(list->focusWidget(), list->ownButton());
    goTo(Page::List);
    EXPECT_EQ(list->focusWidget(), list->ownButton());
}

// Focus shows wherever it rests, also when it was put there by the program
// and not by a key, and it never looks like the default button's outline.
TEST_F(Focus, TheFocusedControlShowsAFrameOfItsOwn)
{
    PageWindow *home = page(Page::Home);
    QPushButton *own = home->ownButton();
    QPushButton *other = home->navigationButton(Page::List);
    QAbstractButton *option = entry(Page::Home, 1);
    ASSERT_TRUE(QTest::qWaitForWindowActive(home));
    own->setFocus();
    ASSERT_TRUE(own->hasFocus());
    const QImage ownFocused = own->grab().toImage();
    const QImage otherPlain = other->grab().toImage();
    const QImage optionPlain = option->grab().toImage();

    other->setFocus();
    EXPECT_NE(own->grab().toImage(), ownFocused) << "focus on the default button does not show";
    const QImage otherFocused = other->grab().toImage();
    EXPECT_NE(otherFocused, otherPlain) << "focus on a navigation button does not show";
    // A focused button must not look like the default button.
    other->setDefault(true);
    other->clearFocus();
    EXPECT_NE(other->grab().toImage(), otherFocused) << "focus looks like the default button";
    other->setDefault(false);

    option->setFocus();
    EXPECT_NE(option->grab().toImage(), optionPlain) << "focus on an entry does not show";
}

TEST_F(Focus, EnterAndEscapeActivateTheOwnButton)
{
    goTo(Page::Shop);
    PageWindow *shop = page(Page::Shop);
    int clicks = 0;
    QObject::connect(shop->ownButton(), &QPushButton::clicked, [&] { ++clicks; });
    entry(Page::Shop, 2)->setFocus();
    QTest::keyClick(shop, Qt::Key_Escape);
    EXPECT_EQ(clicks, 1);
    entry(Page::Shop, 2)->setFocus();
    QTest::keyClick(shop, Qt::Key_Return);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(shop->focusWidget(), shop->ownButton());
    EXPECT_TRUE(shop->isVisible());
    // Enter on another navigation button clicks that one instead.
    shop->navigationButton(Page::Home)->setFocus();
    QTest::keyClick(shop->navigationButton(Page::Home), Qt::Key_Return);
    EXPECT_TRUE(page(Page::Home)->isVisible());
    EXPECT_FALSE(shop->isVisible());
}

} // namespace
