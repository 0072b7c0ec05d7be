#include "tests/support/pagefixture.h"
#include "tests/support/qtprinters.h"

#include <QMap>

using namespace Qt::StringLiterals;

namespace {

using ContentShopTest = PagesFixture;

TEST_F(ContentShopTest, BlanksAtTheEndsOfLinesReachTheBoxAndTheClipboard)
{
    goTo(Page::Content);
    clickOn(entry(Page::Content, 15));
    const QString specnode =
        u"{zuvi:specnode aid='这里录入专题内容页文档ID' code='这里录入专题节点标识' }"
        u"<li><a href='{$field.arcurl}'>{$field.title}</a></li>\r\n"
        u"{/zuvi:specnode} \r\n"_s;
    EXPECT_EQ(outputText(Page::Content), specnode);
    EXPECT_EQ(clipboardText(), specnode);

    goTo(Page::Shop);
    clickOn(entry(Page::Shop, 4));
    const QString stock = u"<span {$field.stock_show}>库存量：{$field.stock_count} 件</span> \r\n"_s;
    EXPECT_EQ(outputText(Page::Shop), stock);
    EXPECT_EQ(clipboardText(), stock);
    // The content page keeps its own text while the shop page writes.
    EXPECT_EQ(outputText(Page::Content), specnode);
}

TEST_F(ContentShopTest, HoveringShowsATipOnlyOnTheEntriesThatHaveOne)
{
    const QMap<int, QMap<int, QString>> tips = {
        {Page::Content, {{14, u"电脑端使用此标签需要加载/template/pc/system/article_pay.htm 模板文件"_s}}},
        {Page::Shop,
         {{6, u"此标签需要加载模板的system里存放product_comment.htm、comment_list.htm 模板文件"_s},
          {9, u"在模板目录pc或者mobile的system里存放users_info.htm文件"_s}}},
    };
    for (auto page = tips.cbegin(); page != tips.cend(); ++page) {
        goTo(page.key());
        const QString before = outputText(page.key());
        const QList<const CatalogControl *> entries = content(page.key())->catalog().entries();
        for (const CatalogControl *control : entries) {
            QAbstractButton *option = entry(page.key(), control->index);
            // Two movements over the entry, at two points: the tip stays the same.
            QTest::mouseMove(option, option->rect().center());
            QTest::mouseMove(option, option->rect().center() + QPoint(3, 1));
            ASSERT_TRUE(option->underMouse()) << page.key() << ", entry " << control->index;
        }
        for (const CatalogControl *control : entries)
            EXPECT_EQ(tipText(entry(page.key(), control->index)), page.value().value(control->index))
                << page.key() << ", entry " << control->index;
        // Hovering writes nothing.
        EXPECT_EQ(outputText(page.key()), before);
    }
}

TEST_F(ContentShopTest, EntriesAreDrawnAboveTheFramesTheyLieIn)
{
    for (int number : {int(Page::Content), int(Page::Shop)}) {
        goTo(number);
        PageWindow *window = page(number);
        for (const CatalogControl *control : content(number)->catalog().entries()) {
            QAbstractButton *option = entry(number, control->index);
            const QPoint centre = option->mapTo(window, option->rect().center());
            EXPECT_EQ(window->childAt(centre), option) << number << ", entry " << control->index;
        }
    }
}

} // namespace
