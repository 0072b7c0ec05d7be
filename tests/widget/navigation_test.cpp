// Navigation between the nine page windows as the user sees it: the home
// page alone at start, every page built at the first move, one shown at a
// time, each with the same bar and where the user left it.

#include "shell/fonts.h"
#include "tests/support/pagefixture.h"
#include "tests/support/qtprinters.h"

#include <QScreen>

namespace {

using PageNavigation = PagesFixture;

int visiblePages(const PageSet &pages)
{
    int count = 0;
    for (int p = kFirstPage; p <= kLastPage; ++p)
        count += pages.page(p) && pages.page(p)->isVisible();
    return count;
}

TEST_F(PageNavigation, StartsWithTheHomePageAloneInItsInitialState)
{
    for (int p = kFirstPage + 1; p <= kLastPage; ++p)
        EXPECT_EQ(page(p), nullptr) << p;
    PageWindow *home = page(Page::Home);
    EXPECT_TRUE(home->isVisible());
    EXPECT_EQ(home->windowTitle(), QStringLiteral("ZuviCMS标签生成器V" ZUVI_VERSION));
    EXPECT_EQ(home->size(), QSize(753, 613));
    EXPECT_EQ(home->minimumSize(), home->maximumSize());
    EXPECT_EQ(home->focusWidget(), home->navigationButton(Page::Home));
    EXPECT_EQ(outputText(Page::Home), QString());
    EXPECT_EQ(content(Page::Home)->selectedOption(), nullptr);
    EXPECT_EQ(clipboardText(), QStringLiteral("before the test"));
}

TEST_F(PageNavigation, FirstNavigationCreatesAllPagesAndShowsOnlyTheTarget)
{
    goTo(Page::Content);
    for (int p = kFirstPage; p <= kLastPage; ++p)
        ASSERT_NE(page(p), nullptr) << p;
    EXPECT_TRUE(page(Page::Content)->isVisible());
    EXPECT_EQ(visiblePages(pages), 1);
    // A new page starts with nothing selected and the initial output text;
    // creating it wrote nothing to the clipboard.
    EXPECT_EQ(outputText(Page::List), QStringLiteral("\r\n\r\n       \r\n"));
    EXPECT_EQ(clipboardText(), QStringLiteral("before the test"));
    for (int p = Page::List; p <= Page::ExtensionFunctions; ++p)
        EXPECT_EQ(content(p)->selectedOption(), nullptr) << p;
}

TEST_F(PageNavigation, EveryPageHasTheSameBarWithItsOwnButtonBoldAndFirst)
{
    goTo(Page::Home);
    for (int p = kFirstPage; p <= kLastPage; ++p) {
        PageWindow *window = page(p);
        EXPECT_EQ(window->windowTitle(), QStringLiteral("ZuviCMS标签生成器V" ZUVI_VERSION));
        const int width = (p == Page::Home || p == Page::ExtensionFunctions) ? 753 : 755;
        EXPECT_EQ(window->size(), QSize(width, 613)) << p;
        for (int b = 1; b <= 9; ++b) {
            NavigationButton *nav = window->navigationButton(b);
            EXPECT_EQ(nav->hasBoldCaption(), b == p) << p << "/" << b;
            EXPECT_EQ(nav->isDefault(), b == p) << p << "/" << b;
            EXPECT_EQ(nav->y(), 8);
        }
        EXPECT_EQ(window->navigationButton(9)->x(), p == Page::Content ? 672 : 670) << p;
        EXPECT_EQ(window->navigationButton(5)->geometry(), QRect(311, 8, 106, 25));
        EXPECT_EQ(window->ownButton()->font().family(), songFamily());
        EXPECT_EQ(window->ownButton()->font().pointSizeF(), 9.0);
        EXPECT_EQ(window->focusWidget(), window->ownButton()) << p;
    }
}

TEST_F(PageNavigation, PagesAppearCentredAndKeepTheirOwnPlace)
{
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    // Centred to within the window frame's width, which is unknown until
    // the window is first shown.
    EXPECT_LE((page(Page::Home)->frameGeometry().center() - screenCentre).manhattanLength(), 4);
    page(Page::Home)->move(10, 10);
    goTo(Page::About);   // first shown now: centred, whatever the home page did
    EXPECT_LE((page(Page::About)->frameGeometry().center() - screenCentre).manhattanLength(), 4);
    goTo(Page::Home);
    EXPECT_EQ(page(Page::Home)->pos(), QPoint(10, 10));
}

} // namespace
