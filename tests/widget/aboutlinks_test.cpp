#include "pages/about/aboutlinks.h"
#include "core/product.h"
#include "tests/support/qtprinters.h"

#include <gtest/gtest.h>

// The about page's link table: what each of its five links shows and
// which address a click on it opens.

namespace {

TEST(AboutLinks, EachLabelShowsAndOpensItsAddressOnTheHomeSite)
{
    struct Row {
        qint16 index;
        const char *shownPath;
        const char *openedPath;
        const char16_t *tip;
    };
    const Row rows[] = {
        {0, "", "", u"Zuvi官方网站"},
        {1, "/doc/", "/doc/", u"Zuvi官方网站"},
        {2, "/moban/", "/moban/", u"Zuvi模板中心"},
        {3, "/buy/", "/buy/", u"Zuvi插件中心"},
        // The plug-in centre shows one address and opens another.
        {4, "/plus/", "/mall/plus/", u"Zuvi插件中心"},
    };
    for (const Row &row : rows) {
        const std::optional<AboutLink> link = aboutLink(row.index);
        ASSERT_TRUE(link) << row.index;
        EXPECT_EQ(link->shown, homeSiteAddress() + QString::fromLatin1(row.shownPath)) << row.index;
        EXPECT_EQ(link->opened.toString(), homeSiteAddress() + QString::fromLatin1(row.openedPath)) << row.index;
        EXPECT_TRUE(link->opened.isValid() && !link->opened.isRelative()) << row.index;
        EXPECT_EQ(link->tip, QString::fromUtf16(row.tip)) << row.index;
    }
}

TEST(AboutLinks, IndicesOutsideTheArrayHaveNoLink)
{
    for (qint16 index : {qint16(-1), qint16(5), qint16(6), qint16(32767), qint16(-32768)})
        EXPECT_FALSE(aboutLink(index)) << index;
}

} // namespace
