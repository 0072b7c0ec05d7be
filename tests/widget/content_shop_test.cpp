#include "tests/support/pagefixture.h"
#include "tests/support/qtprinters.h"

#include <QMap>

using namespace Qt::StringLiterals;

namespace {

using ContentShopTest = PagesFixture;

QString textForm(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + u"\r\n"_s;
    return text;
}

// Two entries of one page that sit in different frames.
struct FramePair {
    int page;
    int first;
    int second;
};

TEST_F(ContentShopTest, ClickingAnEntryClearsTheOneSelectedInAnotherFrame)
{
    const FramePair pairs[] = {
        {Page::Content, 0, 22},    // 内容通用 -> 全局标签
        {Page::Content, 22, 0},
        {Page::Content, 16, 21},   // 产品模型 -> 下载模型
        {Page::Content, 18, 17},   // 视频模型 -> 图集模型
        {Page::Content, 27, 24},   // last row of 内容通用 -> 全局标签
        {Page::Content, 24, 19},
        {Page::Shop, 0, 7},        // 商城标签 -> 会员标签
        {Page::Shop, 7, 0},
        {Page::Shop, 10, 6},
    };
    for (const FramePair &pair : pairs) {
        goTo(pair.page);
        const PageCatalog &catalog = content(pair.page)->catalog();
        QAbstractButton *first = entry(pair.page, pair.first);
        QAbstractButton *second = entry(pair.page, pair.second);
        ASSERT_TRUE(first && second) << pair.page << ": " << pair.first << "/" << pair.second;
        const QString where = QString::number(pair.page) + u": "_s + QString::number(pair.first)
                              + u" then "_s + QString::number(pair.second);
        // Each entry is a child of the frame its data names, and the frames differ.
        EXPECT_EQ(first->parentWidget()->objectName(), catalog.entry(pair.first)->container) << where.toStdString();
        EXPECT_EQ(second->parentWidget()->objectName(), catalog.entry(pair.second)->container) << where.toStdString();
        ASSERT_NE(first->parentWidget(), second->parentWidget()) << where.toStdString();

        clickOn(first);
        ASSERT_TRUE(first->isChecked()) << where.toStdString();
        clickOn(second);
        for (const CatalogControl *control : catalog.entries())
            EXPECT_EQ(entry(pair.page, control->index)->isChecked(), control->index == pair.second)
                << where.toStdString() << ", entry " << control->index;

        const QString snippet = textForm(catalog.entry(pair.second)->lines);
        EXPECT_EQ(outputText(pair.page), snippet) << where.toStdString();
        EXPECT_EQ(clipboardText(), snippet) << where.toStdString();
    }
}

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
