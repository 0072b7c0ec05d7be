// The application icon: the sizes the window manager is offered, each drawn
// size its own drawing, and the icon on the pages' windows.

#include "shell/applicationicon.h"
#include "tests/support/pagefixture.h"
#include "tests/support/qtprinters.h"

namespace {

using ApplicationIconOnPages = PagesFixture;

// The icon offers the window manager the drawn sizes up to 128 px (what Qt
// writes into every new window's X11 icon property); a size asked for comes
// from the smallest drawing that covers it, the 256 px one included, and from
// the largest drawing where none does.
TEST(ApplicationIcon, EveryAskedSizeComesFromTheNearestDrawing)
{
    const QIcon icon = applicationIcon();
    QList<QSize> offered;
    for (int side : {16, 24, 32, 48, 64, 128})
        offered << QSize(side, side);
    EXPECT_EQ(icon.availableSizes(), offered);

    const struct {
        int asked;
        int given;
    } cases[] = {{16, 16}, {20, 20}, {48, 48}, {100, 100}, {200, 200}, {256, 256}, {400, 256}};
    for (const auto &c : cases) {
        const QPixmap pixmap = icon.pixmap(QSize(c.asked, c.asked));
        EXPECT_EQ(pixmap.size(), QSize(c.given, c.given)) << c.asked;
    }
    // A drawn size is the committed drawing itself, pixel for pixel, also as
    // the build stores it decoded.
    const QImage drawing(QStringLiteral(ZUVI_SOURCE_DIR "/shell/icons/zuvi-taggen-48.png"));
    ASSERT_FALSE(drawing.isNull());
    EXPECT_EQ(icon.pixmap(QSize(48, 48)).toImage().convertToFormat(drawing.format()), drawing);
}

TEST_F(ApplicationIconOnPages, PagesCarryTheApplicationIcon)
{
    goTo(Page::List);
    for (int p : {int(Page::Home), int(Page::List), int(Page::ExtensionFunctions)})
        EXPECT_EQ(page(p)->windowIcon().availableSizes(), applicationIcon().availableSizes()) << p;
}

} // namespace
