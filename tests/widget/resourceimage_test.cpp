// The pictures the build stores decoded come out of the resources as the
// committed PNG files draw them, pixel for pixel; a picture stored only as
// PNG is decoded, as every PNG is, without the system's image plugins.

#include "shell/resourceimage.h"
#include "tests/support/pagefixture.h"

#include <QFile>
#include <QImage>

namespace {

TEST(ResourceImage, DecodedPicturesAreTheCommittedOnesPixelForPixel)
{
    const struct {
        const char *resource;
        const char *committed;
    } cases[] = {
        {":/home/layout1.png", "/pages/home/previews/layout1.png"},
        {":/home/layout3@2x.png", "/pages/home/previews/layout3@2x.png"},
        {":/home/layout5.png", "/pages/home/previews/layout5.png"},
        {":/shell/icons/zuvi-taggen-16.png", "/shell/icons/zuvi-taggen-16.png"},
        {":/shell/icons/zuvi-taggen-128.png", "/shell/icons/zuvi-taggen-128.png"},
        {":/shell/icons/zuvi-taggen-256.png", "/shell/icons/zuvi-taggen-256.png"},
    };
    for (const auto &c : cases) {
        const QImage committed = QImage(QStringLiteral(ZUVI_SOURCE_DIR) + QString::fromLatin1(c.committed));
        ASSERT_FALSE(committed.isNull()) << c.committed;
        const QImage taken = resourceImage(QString::fromLatin1(c.resource));
        EXPECT_EQ(taken.size(), committed.size()) << c.resource;
        EXPECT_EQ(taken.convertToFormat(QImage::Format_ARGB32), committed.convertToFormat(QImage::Format_ARGB32))
            << c.resource;
    }
}

TEST(ResourceImage, APictureWithoutADecodedCopyIsDecodedAndAMissingOneIsNull)
{
    const QImage png = resourceImage(QStringLiteral(":/about/abouticon.png"));
    EXPECT_FALSE(png.isNull());
    EXPECT_EQ(png, QImage(QStringLiteral(":/about/abouticon.png")));
    EXPECT_TRUE(resourceImage(QStringLiteral(":/home/nothing.png")).isNull());
}

} // namespace

namespace {

bool imagePluginMapped()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

using PngReading = PagesFixture;

// The pages' PNG files (Fusion's group box frame, the about page's icon) are
// read by the program's own PNG plugin, which loads none of the system's.
TEST_F(PngReading, ShowingThePagesLoadsNoImagePlugin)
{
    for (int p = kFirstPage; p <= kLastPage; ++p) {
        goTo(p);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(page(p))) << p;
        page(p)->grab();
    }
    EXPECT_FALSE(imagePluginMapped());
    const QImage frame(QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"));
    EXPECT_FALSE(frame.isNull());
    EXPECT_FALSE(imagePluginMapped());
}

} // namespace
