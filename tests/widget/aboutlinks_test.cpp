#include "pages/about/aboutlinks.h"
#include "core/product.h"
#include "tests/support/qtprinters.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

// The about page's link table: every link leads to a page of the vendor's
// home site and opens the address it shows, but for the plug-in centre,
// whose pages moved from the address it shows.

namespace {

TEST(AboutLinks, EveryLinkOpensTheAddressItShowsOnTheHomeSite)
{
    const QRegularExpression qtStyle(QStringLiteral("^[a-z][A-Za-z]*$"));
    QSet<QString> names;
    QSet<QString> addresses;
    for (qint16 index = 0; index < kAboutLinkCount; ++index) {
        const std::optional<AboutLink> link = aboutLink(index);
        ASSERT_TRUE(link) << index;
        const std::string what = link->name.toStdString();
        EXPECT_TRUE(qtStyle.match(link->name).hasMatch()) << what;
        EXPECT_TRUE(link->shown == homeSiteAddress() || link->shown.startsWith(homeSiteAddress() + u'/')) << what;
        EXPECT_TRUE(link->opened.isValid() && !link->opened.isRelative()) << what;
        if (link->name == QStringLiteral("pluginCentre")) {
            EXPECT_EQ(link->shown, homeSiteAddress() + QStringLiteral("/plus/"));
            EXPECT_EQ(link->opened.toString(), homeSiteAddress() + QStringLiteral("/mall/plus/"));
        } else {
            EXPECT_EQ(link->opened.toString(), link->shown) << what;
        }
        // The tip names a part of the vendor's site.
        EXPECT_TRUE(link->tip.startsWith(QStringLiteral("Zuvi")) && link->tip.size() > 4) << what;
        names.insert(link->name);
        addresses.insert(link->shown);
    }
    EXPECT_EQ(names.size(), kAboutLinkCount);
    EXPECT_EQ(addresses.size(), kAboutLinkCount);
    // The first link is the home site itself.
    EXPECT_EQ(aboutLink(0)->name, QStringLiteral("homeSite"));
    EXPECT_EQ(aboutLink(0)->shown, homeSiteAddress());
}

TEST(AboutLinks, IndicesOutsideTheArrayHaveNoLink)
{
    for (qint16 index : {qint16(-1), qint16(5), qint16(6), qint16(32767), qint16(-32768)})
        EXPECT_FALSE(aboutLink(index)) << index;
}

} // namespace
