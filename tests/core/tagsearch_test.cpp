#include "core/catalog/pagetable.h"
#include "core/catalog/tagsearch.h"
#include "tests/support/pagedata.h"
#include "tests/support/qtprinters.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const TagSearch &search()
{
    static const TagSearch index = TagSearch::forAllPages();
    return index;
}

// What comes first for a query: the page and the control that choosing it
// acts on.
struct FirstResult {
    const char16_t *query;
    int page;
    const char *control;
    friend void PrintTo(const FirstResult &c, std::ostream *os) { PrintTo(QString::fromUtf16(c.query), os); }
};

class TagSearchFirst : public testing::TestWithParam<FirstResult> {};

TEST_P(TagSearchFirst, PutsTheRightItemFirst)
{
    const QString query = QString::fromUtf16(GetParam().query);
    const QList<qsizetype> found = search().find(query);
    ASSERT_FALSE(found.isEmpty()) << query.toStdString();
    const SearchItem &first = search().items()[found.first()];
    EXPECT_EQ(first.page, GetParam().page) << query.toStdString() << " found " << first.caption.toStdString();
    EXPECT_EQ(first.control, QString::fromLatin1(GetParam().control))
        << query.toStdString() << " found " << first.caption.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Queries, TagSearchFirst, testing::Values(
    // The caption itself, as typed through an input method or pasted.
    FirstResult{u"分页", Page::List, "listPageTag3"},
    FirstResult{u"会员", Page::Shop, "shopTag7"},
    // Full pinyin, with or without blanks, and initials.
    FirstResult{u"fenye", Page::List, "listPageTag3"},
    FirstResult{u"shang yi pian", Page::Content, "contentPageTag11"},
    FirstResult{u"ShangYiPian", Page::Content, "contentPageTag11"},
    FirstResult{u"fybq", Page::List, "listPageTag3"},
    FirstResult{u"hyzxdl", Page::Shop, "shopTag7"},
    // Latin words of a caption, at its start or inside it.
    FirstResult{u"arcpagelist", Page::List, "listPageTag15"},
    FirstResult{u"uimap", Page::VisualEditing, "visualEditingTag9"},
    FirstResult{u"keywords", Page::List, "listPageTag10"},
    // Words of the snippet.
    FirstResult{u"volist", Page::List, "listPageTag6"},
    FirstResult{u"{zuvi:channel", Page::Home, "columnId"},
    // The builders by their own names.
    FirstResult{u"lbxh", Page::List, "listTitleLength"},
    FirstResult{u"wenzhangliebiao", Page::Home, "articleColumnId"},
    // A caption match outranks an earlier page's snippet match, and a match
    // at the start outranks one inside the caption.
    FirstResult{u"pubuliu", Page::List, "listPageTag15"},
    FirstResult{u"tag", Page::List, "listPageTag13"}));

TEST(TagSearch, OffersEveryEntryOfTheTagPagesAndTheThreeBuilders)
{
    qsizetype entries = 0;
    for (int page = Page::Home; page <= Page::ExtensionFunctions; ++page)
        entries += pageData(page).entries().size();
    const QList<SearchItem> &items = search().items();
    EXPECT_EQ(items.size(), entries + 3);
    EXPECT_EQ(std::count_if(items.begin(), items.end(), [](const SearchItem &i) { return i.builder; }), 3);
    // An empty query lists everything in catalog order.
    const QList<qsizetype> all = search().find(QStringLiteral("  "));
    ASSERT_EQ(all.size(), items.size());
    for (qsizetype i = 1; i < all.size(); ++i)
        EXPECT_LE(items[all[i - 1]].page, items[all[i]].page);
}

TEST(TagSearch, RanksCaptionMatchesAboveSnippetMatchesAndKeepsCatalogOrderInTies)
{
    // "title" is a word of two captions and of many snippets.
    const QList<qsizetype> found = search().find(QStringLiteral("title"));
    ASSERT_GE(found.size(), 3);
    const SearchItem &first = search().items()[found[0]];
    const SearchItem &second = search().items()[found[1]];
    EXPECT_EQ(first.caption, QStringLiteral("栏目页title"));
    EXPECT_EQ(second.caption, QStringLiteral("内容页title"));
    for (qsizetype i = 2; i < found.size(); ++i)
        EXPECT_FALSE(search().items()[found[i]].captionText.contains(QStringLiteral("title")));
}

// A snippet copied out of a template comes back with other line ends and
// blanks at the ends of its lines; it still finds its entry first.
TEST(TagSearch, APastedSnippetFindsItsEntryFirst)
{
    for (int page = Page::Home; page <= Page::ExtensionFunctions; ++page) {
        for (const CatalogControl *entry : pageData(page).entries()) {
            const QString lf = entry->lines.join(u'\n');
            const QString crLfWithBlanks = QStringLiteral("  ") + entry->lines.join(QStringLiteral(" \t\r\n")) + QStringLiteral("\r\n\r\n");
            for (const QString &query : {lf, crLfWithBlanks}) {
                const QList<qsizetype> found = search().find(query);
                ASSERT_FALSE(found.isEmpty()) << entry->name.toStdString();
                // Entries with the same snippet come first together, in catalog order.
                qsizetype same = 0;
                while (same < found.size() && search().isWholeSnippet(found[same], query))
                    ++same;
                const auto isThisEntry = [&](qsizetype i) {
                    return search().items()[i].page == page && search().items()[i].control == entry->name;
                };
                EXPECT_TRUE(std::any_of(found.begin(), found.begin() + same, isThisEntry))
                    << entry->name.toStdString() << " on page " << page;
            }
        }
    }
    // One changed character is no longer the entry's snippet.
    const QStringList lines = pageData(Page::List).entry(6)->lines;
    QString changed = lines.join(u'\n');
    changed.replace(QStringLiteral("row=\"6\""), QStringLiteral("row=\"7\""));
    const QList<qsizetype> found = search().find(changed);
    EXPECT_TRUE(found.isEmpty() || !search().isWholeSnippet(found.first(), changed));
}

TEST(TagSearch, AQueryWithoutAMatchFindsNothing)
{
    EXPECT_TRUE(search().find(QStringLiteral("qqxzv")).isEmpty());
    EXPECT_TRUE(search().find(QStringLiteral("没有这个")).isEmpty());
}

} // namespace
