#include "shell/homesite.h"
#include "shell/pagecatalog.h"
#include "tests/support/qtprinters.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QString entrySection(const QString &body)
{
    return QStringLiteral("[entry 0]\ncaption = 甲\nin = page\nat = 1 2 3 4\n") + body;
}

TEST(CatalogFormat, SnippetLinesAreExactlyWhatStandsBetweenTheBars)
{
    const QString text = entrySection(QStringLiteral(
        "|{zuvi:flink row='100'} |\n"
        "|   <a href=\"{$x}\">\\n|\n"
        "||\n"
        "|{$field.add_time|MyDate='Y-m-d',###}|\n"
        "|# not a comment|\n"));
    QString error;
    const auto catalog = PageCatalog::parse(text, &error);
    ASSERT_TRUE(catalog) << error.toStdString();
    EXPECT_EQ(catalog->entry(0)->lines,
              (QStringList{"{zuvi:flink row='100'} ", "   <a href=\"{$x}\">\\n", "",
                           "{$field.add_time|MyDate='Y-m-d',###}", "# not a comment"}));
    EXPECT_EQ(catalog->entry(0)->at, (TwipRect{1, 2, 3, 4}));
}

TEST(CatalogFormat, BlocksAndTheHomeSiteAreExpanded)
{
    const QString text = QStringLiteral(
        "[block legend]\n|<!--|\n|-->|\n\n"
        "[entry 0]\ncaption = 甲\nin = page\nat = 0 0 1 1\n|<a href='@HOME_SITE@'>|\n@use legend\n|end|\n");
    const auto catalog = PageCatalog::parse(text);
    ASSERT_TRUE(catalog);
    EXPECT_EQ(catalog->entry(0)->lines,
              (QStringList{"<a href='" + homeSiteAddress() + "'>", "<!--", "-->", "end"}));
    EXPECT_FALSE(homeSiteAddress().endsWith(u'/'));
}

TEST(CatalogFormat, ControlsInsideFramesAddUpToPagePositions)
{
    const auto catalog = PageCatalog::parse(QStringLiteral(
        "[frame Frame1(0)]\nin = page\nat = 100 200 5000 5000\ncaption = 外\n"
        "[frame Inner]\nin = Frame1(0)\nat = 10 20 1000 1000\ncaption = 内\n"
        "[entry 0]\ncaption = 甲\nin = Inner\nat = 1 2 3 4\n|x|\n"));
    ASSERT_TRUE(catalog);
    EXPECT_EQ(catalog->pageRect(*catalog->entry(0)), (TwipRect{111, 222, 3, 4}));
    EXPECT_EQ(toPixels(TwipRect{120, 600, 1095, 255}), QRect(8, 40, 73, 17));
}

struct BrokenCase {
    friend void PrintTo(const BrokenCase &c, std::ostream *os) { *os << c.what; }
    const char *what;
    const char *text;
};

class CatalogErrors : public testing::TestWithParam<BrokenCase> {};

TEST_P(CatalogErrors, AreRefusedWithTheLineNamed)
{
    QString error;
    EXPECT_FALSE(PageCatalog::parse(QString::fromUtf8(GetParam().text), &error)) << GetParam().what;
    EXPECT_FALSE(error.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Broken, CatalogErrors, testing::Values(
    BrokenCase{"line without closing bar", "[entry 0]\ncaption = a\nin = page\nat = 0 0 1 1\n|text\n"},
    BrokenCase{"tab in a line", "[entry 0]\ncaption = a\nin = page\nat = 0 0 1 1\n|a\tb|\n"},
    BrokenCase{"carriage return", "[entry 0]\r\ncaption = a\nin = page\nat = 0 0 1 1\n|a|\n"},
    BrokenCase{"entry without lines", "[entry 0]\ncaption = a\nin = page\nat = 0 0 1 1\n"},
    BrokenCase{"entry without caption", "[entry 0]\nin = page\nat = 0 0 1 1\n|a|\n"},
    BrokenCase{"unknown container", "[entry 0]\ncaption = a\nin = Frame9\nat = 0 0 1 1\n|a|\n"},
    BrokenCase{"gap in indices",
               "[entry 0]\ncaption = a\nin = page\nat = 0 0 1 1\n|a|\n"
               "[entry 2]\ncaption = b\nin = page\nat = 0 0 1 1\n|b|\n"},
    BrokenCase{"duplicate index",
               "[entry 0]\ncaption = a\nin = page\nat = 0 0 1 1\n|a|\n"
               "[entry 0]\ncaption = b\nin = page\nat = 0 0 1 1\n|b|\n"},
    BrokenCase{"index too large", "[entry 32767]\ncaption = a\nin = page\nat = 0 0 1 1\n|a|\n"},
    BrokenCase{"bad geometry", "[entry 0]\ncaption = a\nin = page\nat = 0 0 1\n|a|\n"},
    BrokenCase{"unknown block", "[entry 0]\ncaption = a\nin = page\nat = 0 0 1 1\n@use nothing\n"},
    BrokenCase{"lines on a label", "[label L]\nin = page\nat = 0 0 1 1\ntext = t\n|a|\n"},
    BrokenCase{"unknown kind", "[button B]\nin = page\nat = 0 0 1 1\n"},
    BrokenCase{"unknown key", "[label L]\nin = page\nat = 0 0 1 1\nwidth = 3\n"}));

// Every page's data file as built into the program.
struct PageFile {
    friend void PrintTo(const PageFile &page, std::ostream *os) { *os << page.file; }
    const char *file;
    int entries;
    int firstIndex;
    int clientWidth;
};

class BuiltInPages : public testing::TestWithParam<PageFile> {};

TEST_P(BuiltInPages, AreCompleteAndFitTheirWindow)
{
    const PageFile &page = GetParam();
    QFile file(QStringLiteral(":/catalog/") + QString::fromLatin1(page.file));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page.file;
    QString error;
    const auto catalog = PageCatalog::parse(QString::fromUtf8(file.readAll()), &error);
    ASSERT_TRUE(catalog) << page.file << ": " << error.toStdString();

    const QList<const CatalogControl *> entries = catalog->entries();
    ASSERT_EQ(entries.size(), page.entries) << page.file;
    EXPECT_EQ(entries.first()->index, page.firstIndex);
    EXPECT_EQ(catalog->highestEntryIndex(), page.firstIndex + page.entries - 1);

    int outputs = 0;
    for (const CatalogControl &control : catalog->controls()) {
        const TwipRect r = catalog->pageRect(control);
        // Some controls reach past the window's edge and are clipped there,
        // but every one starts inside it.
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.left < page.clientWidth && r.top < 9195)
            << page.file << " " << control.name.toStdString();
        outputs += control.kind == CatalogControl::Kind::Output;
        for (const QString &line : control.lines) {
            EXPECT_FALSE(line.contains(u'\r') || line.contains(u'\n')) << control.name.toStdString();
            EXPECT_FALSE(line.contains(QStringLiteral("@HOME_SITE@")));
        }
    }
    EXPECT_EQ(outputs, 1) << page.file;
}

INSTANTIATE_TEST_SUITE_P(All, BuiltInPages, testing::Values(
    PageFile{"home.page", 8, 1, 11295}, PageFile{"lists.page", 21, 0, 11325},
    PageFile{"content.page", 28, 0, 11325}, PageFile{"shop.page", 11, 0, 11325},
    PageFile{"other.page", 28, 0, 11325}, PageFile{"ui.page", 11, 0, 11325},
    PageFile{"files.page", 4, 0, 11325}, PageFile{"functions.page", 12, 0, 11295}),
    [](const testing::TestParamInfo<PageFile> &info) {
        return QString::fromLatin1(info.param.file).section(u'.', 0, 0).toStdString();
    });

} // namespace
