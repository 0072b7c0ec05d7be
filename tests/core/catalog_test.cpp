#include "core/catalog/pagecatalog.h"
#include "core/product.h"
#include "tests/support/pagedata.h"
#include "tests/support/qtprinters.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

QString entrySection(const QString &body)
{
    return QStringLiteral("[entries demoTag]\n[entry 0]\ncaption = 甲\nin = page\nat = 1 2 3 4\n") + body;
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
        "[entries demoTag]\n[block legend]\n|<!--|\n|-->|\n\n"
        "[entry 0]\ncaption = 甲\nin = page\nat = 0 0 1 1\n|<a href='@HOME_SITE@'>|\n@use legend\n|end|\n");
    const auto catalog = PageCatalog::parse(text);
    ASSERT_TRUE(catalog);
    EXPECT_EQ(catalog->entry(0)->lines,
              (QStringList{"<a href='" + homeSiteAddress() + "'>", "<!--", "-->", "end"}));
    EXPECT_FALSE(homeSiteAddress().endsWith(u'/'));
}

TEST(CatalogFormat, ChoicesFromAFixedSetAreReadIntoTheirValues)
{
    using Color = CatalogControl::Color;
    using Font = CatalogControl::Font;
    const auto catalog = PageCatalog::parse(QStringLiteral(
        "[frame Box]\nin = page\nat = 0 0 9 9\ncaption = 框\n"
        "[label Plain]\nin = Box\nat = 0 0 1 1\ntext = 甲\n"
        "[label Warning]\nin = page\nat = 0 0 1 1\ntext = 乙\ncolor = red\nfont = song10\n"
        "[label Aside]\nin = page\nat = 0 0 1 1\ntext = 丙\ncolor = grey\n"));
    ASSERT_TRUE(catalog);
    const CatalogControl *plain = catalog->control(QStringLiteral("Plain"));
    const CatalogControl *warning = catalog->control(QStringLiteral("Warning"));
    const CatalogControl *aside = catalog->control(QStringLiteral("Aside"));
    ASSERT_TRUE(plain && warning && aside);
    EXPECT_EQ(plain->color, Color::Text);
    EXPECT_EQ(plain->font, Font::Page);
    EXPECT_EQ(warning->color, Color::Red);
    EXPECT_EQ(warning->font, Font::Song10);
    EXPECT_EQ(aside->color, Color::Grey);
    EXPECT_EQ(aside->font, Font::Page);
    // `in = page` and `in = <frame>`.
    EXPECT_EQ(plain->frame, QStringLiteral("Box"));
    EXPECT_FALSE(plain->onPage());
    EXPECT_TRUE(warning->onPage());
    EXPECT_TRUE(catalog->control(QStringLiteral("Box"))->onPage());
}

TEST(CatalogFormat, AWordOutsideTheSetNamesItsLineAndTheWordsAllowed)
{
    QString error;
    EXPECT_FALSE(PageCatalog::parse(QStringLiteral("[label L]\nin = page\n\ncolor = blue\nat = 0 0 1 1\n"), &error));
    EXPECT_EQ(error, QStringLiteral("line 4: color is grey or red"));
    EXPECT_FALSE(PageCatalog::parse(QStringLiteral("[label L]\nin = page\nfont = song\n"), &error));
    EXPECT_EQ(error, QStringLiteral("line 3: font is song10"));
}

TEST(CatalogFormat, ControlsInsideFramesAddUpToPagePositions)
{
    const auto catalog = PageCatalog::parse(QStringLiteral(
        "[entries demoTag]\n"
        "[frame outer]\nin = page\nat = 100 200 5000 5000\ncaption = 外\n"
        "[frame inner]\nin = outer\nat = 10 20 1000 1000\ncaption = 内\n"
        "[entry 0]\ncaption = 甲\nin = inner\nat = 1 2 3 4\n|x|\n"));
    ASSERT_TRUE(catalog);
    EXPECT_EQ(catalog->pageRect(*catalog->entry(0)), (TwipRect{111, 222, 3, 4}));
    EXPECT_EQ(toPixels(TwipRect{120, 600, 1095, 255}), QRect(8, 40, 73, 17));
}

TEST(CatalogFormat, EntriesAreNamedByTheirGroupAndIndex)
{
    QString error;
    const auto catalog = PageCatalog::parse(
        QStringLiteral("[entries demoTag]\n"
                       "[entry 3]\ncaption = 甲\nin = page\nat = 0 0 1 1\n|a|\n"
                       "[entry 12]\ncaption = 乙\nin = page\nat = 0 0 1 1\n|b|\n"),
        &error);
    ASSERT_TRUE(catalog) << error.toStdString();
    EXPECT_EQ(catalog->entry(3)->name, QStringLiteral("demoTag3"));
    EXPECT_EQ(catalog->control(QStringLiteral("demoTag12")), catalog->entry(12));

    // The group is named once, before the first entry.
    EXPECT_FALSE(PageCatalog::parse(QStringLiteral("[entry 0]\ncaption = a\nin = page\nat = 0 0 1 1\n|a|\n"), &error));
    EXPECT_EQ(error, QStringLiteral("line 1: an entry before [entries name], which names the page's entries"));
    EXPECT_FALSE(PageCatalog::parse(QStringLiteral("[entries a]\n\n[entries b]\n"), &error));
    EXPECT_EQ(error, QStringLiteral("line 3: the entries are named twice"));
    // An entry's name is taken like any other.
    EXPECT_FALSE(PageCatalog::parse(QStringLiteral("[entries box]\n[label box1]\nin = page\nat = 0 0 1 1\n"
                                                   "[entry 1]\ncaption = a\nin = page\nat = 0 0 1 1\n|a|\n"),
                                    &error));
    EXPECT_EQ(error, QStringLiteral("line 5: box1 defined twice"));
}

struct BrokenCase {
    friend void PrintTo(const BrokenCase &c, std::ostream *os) { *os << c.what; }
    const char *what;
    const char *text;
};

class CatalogErrors : public testing::TestWithParam<BrokenCase> {};

TEST_P(CatalogErrors, AreRefusedWithTheLineNamed)
{
    // The entries are named, so that each case fails for its own fault.
    const QString text = QStringLiteral("[entries demoTag]\n") + QString::fromUtf8(GetParam().text);
    QString error;
    EXPECT_FALSE(PageCatalog::parse(text, &error)) << GetParam().what;
    EXPECT_TRUE(error.startsWith(QStringLiteral("line ")) || error.startsWith(QStringLiteral("end of file: ")))
        << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Broken, CatalogErrors, testing::Values(
    BrokenCase{"line without closing bar", "[entry 0]\ncaption = a\nin = page\nat = 0 0 1 1\n|text\n"},
    BrokenCase{"tab in a line", "[entry 0]\ncaption = a\nin = page\nat = 0 0 1 1\n|a\tb|\n"},
    BrokenCase{"carriage return", "[entry 0]\r\ncaption = a\nin = page\nat = 0 0 1 1\n|a|\n"},
    BrokenCase{"entry without lines", "[entry 0]\ncaption = a\nin = page\nat = 0 0 1 1\n"},
    BrokenCase{"entry without caption", "[entry 0]\nin = page\nat = 0 0 1 1\n|a|\n"},
    BrokenCase{"unknown container", "[entry 0]\ncaption = a\nin = nowhere\nat = 0 0 1 1\n|a|\n"},
    BrokenCase{"duplicate index",
               "[entry 0]\ncaption = a\nin = page\nat = 0 0 1 1\n|a|\n"
               "[entry 0]\ncaption = b\nin = page\nat = 0 0 1 1\n|b|\n"},
    BrokenCase{"index too large", "[entry 32768]\ncaption = a\nin = page\nat = 0 0 1 1\n|a|\n"},
    BrokenCase{"bad geometry", "[entry 0]\ncaption = a\nin = page\nat = 0 0 1\n|a|\n"},
    BrokenCase{"unknown block", "[entry 0]\ncaption = a\nin = page\nat = 0 0 1 1\n@use nothing\n"},
    BrokenCase{"block used before it is defined",
               "[entry 0]\ncaption = a\nin = page\nat = 0 0 1 1\n@use later\n[block later]\n|x|\n"},
    BrokenCase{"lines on a label", "[label L]\nin = page\nat = 0 0 1 1\ntext = t\n|a|\n"},
    BrokenCase{"unknown kind", "[button B]\nin = page\nat = 0 0 1 1\n"},
    BrokenCase{"unknown key", "[label L]\nin = page\nat = 0 0 1 1\nwidth = 3\n"},
    BrokenCase{"colour outside the set", "[label L]\nin = page\nat = 0 0 1 1\ncolor = blue\n"},
    BrokenCase{"colour in another case", "[label L]\nin = page\nat = 0 0 1 1\ncolor = Red\n"},
    BrokenCase{"font outside the set", "[label L]\nin = page\nat = 0 0 1 1\nfont = song9\n"},
    BrokenCase{"control without container", "[label L]\nat = 0 0 1 1\n"},
    BrokenCase{"entries named twice", "[entries other]\n"}));

// Every page's data file as built into the program: it parses, and its raw
// text keeps the rules a reader of the file relies on.
class PageDataLint : public testing::TestWithParam<int>
{
protected:
    static QString rawText(int page)
    {
        QFile file(dataFilePath(page));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
};

TEST_P(PageDataLint, ParsesAndKeepsTheFileRules)
{
    const int page = GetParam();
    const QString text = rawText(page);
    ASSERT_FALSE(text.isEmpty()) << dataFilePath(page).toStdString() << " is not built in";
    QString error;
    const auto catalog = PageCatalog::parse(text, &error);
    ASSERT_TRUE(catalog) << error.toStdString();

    const QStringList lines = text.split(u'\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString &line = lines[n];
        const std::string where = dataFilePath(page).toStdString() + ":" + std::to_string(n + 1);
        EXPECT_FALSE(line.contains(u'\t')) << where << ": tab";
        EXPECT_FALSE(line.contains(u'\r')) << where << ": carriage return";
        // Blanks at the end of a snippet line are inside its bars; anywhere
        // else they are invisible and would be lost.
        if (!line.startsWith(u'|')) {
            EXPECT_FALSE(line.endsWith(u' ')) << where << ": blank at the end of the line";
            const qsizetype eq = line.indexOf(u'=');
            if (!line.startsWith(u'#') && eq > 0) {
                EXPECT_TRUE(line.mid(eq).startsWith(QStringLiteral("= ")) && !line.mid(eq + 2).startsWith(u' '))
                    << where << ": a value stands after '= ' with one blank";
            }
        }
    }
    // Names say what a control is, in Qt's style; digits only end a name,
    // as an index. The entries are one group: its name and their index.
    const QRegularExpression qtStyle(QStringLiteral("^[a-z][A-Za-z]*[0-9]*$"));
    QSet<QString> entryGroups;
    for (const CatalogControl &control : catalog->controls()) {
        EXPECT_TRUE(qtStyle.match(control.name).hasMatch()) << control.name.toStdString();
        if (control.kind == CatalogControl::Kind::Entry) {
            const QString index = QString::number(control.index);
            EXPECT_TRUE(control.name.endsWith(index)) << control.name.toStdString();
            entryGroups.insert(control.name.chopped(index.size()));
        }
    }
    EXPECT_EQ(entryGroups.size(), 1) << QStringList(entryGroups.values()).join(u' ').toStdString();

    int outputs = 0;
    for (const CatalogControl &control : catalog->controls()) {
        const TwipRect r = catalog->pageRect(control);
        // Some controls reach past the window's edge and are clipped there,
        // but every one starts inside it.
        const TwipRect window = clientArea(page);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.left < window.width && r.top < window.height)
            << control.name.toStdString();
        outputs += control.kind == CatalogControl::Kind::Output;
        for (const QString &line : control.lines)
            EXPECT_FALSE(line.contains(QStringLiteral("@HOME_SITE@")));
    }
    EXPECT_EQ(outputs, 1);
}

INSTANTIATE_TEST_SUITE_P(TagPages, PageDataLint,
                         testing::Range(int(Page::Home), int(Page::ExtensionFunctions) + 1),
                         [](const testing::TestParamInfo<int> &info) {
                             return QString::fromLatin1(pageInfo(info.param).dataFile).section(u'.', 0, 0).toStdString();
                         });

// The entries each page offers; a lost or doubled section changes the count.
TEST(PageData, EveryTagPageOffersItsEntries)
{
    const int expected[] = {0, 8, 21, 28, 11, 28, 11, 4, 12};
    for (int page = Page::Home; page <= Page::ExtensionFunctions; ++page)
        EXPECT_EQ(pageData(page).entries().size(), expected[page]) << page;
    EXPECT_EQ(pageData(Page::Home).entries().first()->index, 1);
    EXPECT_EQ(pageInfo(Page::About).dataFile, nullptr);
}

} // namespace
