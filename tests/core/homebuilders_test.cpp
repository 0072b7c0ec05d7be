#include "core/catalog/homebuilders.h"
#include "tests/support/qtprinters.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

struct MenuCase {
    const char16_t *attribute;
    const char16_t *columnId;
    const char16_t *columnCount;
    const char16_t *opening;
};

TEST(NavigationMenu, OpeningLineForEveryCombinationOfInputs)
{
    const MenuCase cases[] = {
        {u"顶级栏目", u"", u"", u"{zuvi:channel type='top' currentstyle='on'}"},
        {u"顶级栏目", u"5", u"", u"{zuvi:channel type='top' typeid='5' currentstyle='on'}"},
        {u"同级栏目", u"", u"8", u"{zuvi:channel type='self' row='8' currentstyle='on'}"},
        {u"下级栏目", u"5", u"10", u"{zuvi:channel type='son' typeid='5' row='10' currentstyle='on'}"},
        {u"下级同级", u"abc", u"", u"{zuvi:channel type='sonself' currentstyle='on'}"},
        {u"第一层级", u" 7", u"1.5", u"{zuvi:channel type='first' typeid=' 7' row='1.5' currentstyle='on'}"},
        {u"所有栏目", u"", u"", u"{zuvi:channel type='' currentstyle='on'}"},
        {u"", u"3", u"x", u"{zuvi:channel type='' typeid='3' currentstyle='on'}"},
    };
    for (const MenuCase &c : cases) {
        const QStringList lines = navigationMenuSnippet(QString::fromUtf16(c.attribute), QString::fromUtf16(c.columnId),
                                                        QString::fromUtf16(c.columnCount));
        EXPECT_EQ(lines, (QStringList{QString::fromUtf16(c.opening),
                                      "<a href='{$field.typeurl}' class='{$field.currentstyle}'>{$field.typename}</a>",
                                      "{/zuvi:channel}"}))
            << QString::fromUtf16(c.attribute).toStdString() << "/" << QString::fromUtf16(c.columnId).toStdString();
    }
}

// The drop-downs' items come from their one table in the code; what each
// writes is checked here, one item at a time.

TEST(NavigationMenu, EachColumnAttributeWritesATypeOfItsOwn)
{
    const QRegularExpression opening(QStringLiteral("^\\{zuvi:channel type='([a-z]+)' currentstyle='on'\\}$"));
    const QStringList items = columnAttributeItems();
    ASSERT_FALSE(items.isEmpty());
    QSet<QString> types;
    for (const QString &item : items) {
        const QRegularExpressionMatch type = opening.match(navigationMenuSnippet(item, {}, {}).first());
        ASSERT_TRUE(type.hasMatch()) << item.toStdString();
        types.insert(type.captured(1));
    }
    EXPECT_EQ(types.size(), items.size());
}

TEST(NavigationMenu, EachOtherFieldAfterTheNeutralFirstWritesAPlaceholderOfItsOwn)
{
    const QRegularExpression placeholder(QStringLiteral("^\\{\\$field\\.[a-z_]+\\}$"));
    const QStringList items = otherFieldItems();
    ASSERT_GT(items.size(), 1);
    EXPECT_EQ(otherFieldSnippet(items.first()), QStringList());
    QSet<QString> written;
    for (const QString &item : items.mid(1)) {
        const std::optional<QStringList> lines = otherFieldSnippet(item);
        ASSERT_TRUE(lines && lines->size() == 1) << item.toStdString();
        EXPECT_TRUE(placeholder.match(lines->first()).hasMatch()) << lines->first().toStdString();
        written.insert(lines->first());
    }
    EXPECT_EQ(written.size(), items.size() - 1);
}

TEST(NavigationMenu, OtherFieldWritesOnePlaceholderOrEmptiesTheBox)
{
    EXPECT_EQ(otherFieldSnippet(QStringLiteral("英文名称")), QStringList{"{$field.englist_name}"});
    EXPECT_EQ(otherFieldSnippet(QStringLiteral("栏目图片")), QStringList{"{$field.litpic}"});
    EXPECT_EQ(otherFieldSnippet(QStringLiteral("栏目描述")), QStringList{"{$field.seo_description}"});
    EXPECT_EQ(otherFieldSnippet(QStringLiteral("下拉选择")), QStringList());
    EXPECT_EQ(otherFieldSnippet(QStringLiteral("别的")), std::nullopt);
}

struct ListCase {
    ArticleListInputs inputs;
    const char16_t *opening;
};

TEST(ArticleList, OpeningLineKeepsItsFixedOrder)
{
    const ListCase cases[] = {
        {{.attribute = "无属性", .ordering = "发布时间"}, u"{zuvi:arclist orderby='now'}"},
        {{.columnId = "12", .attribute = "推荐[c]", .titleLength = "30", .summaryLength = "80", .rows = "10", .ordering = "随机排序"},
         u"{zuvi:arclist typeid='12' flag='c' titlelen='30' infolen='80' row='10' orderby='rand'}"},
        {{.columnId = "12", .attribute = "推荐[c]", .titleLength = "3a", .summaryLength = "80", .rows = "10", .ordering = "随机排序"},
         u"{zuvi:arclist typeid='12' flag='c' infolen='80' row='10' orderby='rand'}"},
        {{.attribute = "头条[h]", .rows = "5", .ordering = "按点击数"}, u"{zuvi:arclist flag='h' row='5' orderby='click'}"},
        {{.attribute = "最热[d]", .summaryLength = "1e2", .ordering = "按排序号"},
         u"{zuvi:arclist flag='d' infolen='1e2' orderby='sort_order'}"},
        {{.columnId = "-1", .attribute = "其它", .titleLength = " 9", .ordering = "其它"},
         u"{zuvi:arclist typeid='-1' titlelen=' 9' orderby='now'}"},
        {{.columnId = "--1", .attribute = "无属性", .titleLength = ".", .summaryLength = "１２", .rows = "1.", .ordering = ""},
         u"{zuvi:arclist row='1.' orderby='now'}"},
        // Each number lands in its own attribute, whichever is given alone.
        {{.columnId = "7"}, u"{zuvi:arclist typeid='7' orderby='now'}"},
        {{.titleLength = "7"}, u"{zuvi:arclist titlelen='7' orderby='now'}"},
        {{.summaryLength = "7"}, u"{zuvi:arclist infolen='7' orderby='now'}"},
        {{.rows = "7"}, u"{zuvi:arclist row='7' orderby='now'}"},
    };
    for (const ListCase &c : cases)
        EXPECT_EQ(articleListOpeningLine(c.inputs), QString::fromUtf16(c.opening));
}

TEST(ArticleList, EachAttributeAfterTheNeutralFirstWritesTheFlagItShows)
{
    // An attribute shows its flag letter in brackets: 推荐[c] is flag='c'.
    const QRegularExpression shown(QStringLiteral("^.+\\[([a-z])\\]$"));
    const QStringList attributes = articleAttributeItems();
    ASSERT_GT(attributes.size(), 1);
    EXPECT_EQ(articleListOpeningLine({.attribute = attributes.first()}), QStringLiteral("{zuvi:arclist orderby='now'}"));
    for (const QString &attribute : attributes.mid(1)) {
        const QRegularExpressionMatch flag = shown.match(attribute);
        ASSERT_TRUE(flag.hasMatch()) << attribute.toStdString();
        EXPECT_EQ(articleListOpeningLine({.attribute = attribute}),
                  QStringLiteral("{zuvi:arclist flag='%1' orderby='now'}").arg(flag.captured(1)));
    }
}

TEST(ArticleList, EachOrderingWritesAnOrderOfItsOwnAndTheFirstIsTheFallback)
{
    const QRegularExpression opening(QStringLiteral("^\\{zuvi:arclist orderby='([a-z_]+)'\\}$"));
    const QStringList orderings = orderingItems();
    ASSERT_FALSE(orderings.isEmpty());
    QSet<QString> orders;
    for (const QString &ordering : orderings) {
        const QRegularExpressionMatch order = opening.match(articleListOpeningLine({.ordering = ordering}));
        ASSERT_TRUE(order.hasMatch()) << ordering.toStdString();
        orders.insert(order.captured(1));
    }
    EXPECT_EQ(orders.size(), orderings.size());
    EXPECT_EQ(articleListOpeningLine({.ordering = orderings.first()}), articleListOpeningLine({.ordering = "其它"}));
}

TEST(ArticleList, LayoutsWrapTheOpeningLineInTheirBodies)
{
    const ArticleListInputs in{.attribute = "无属性", .ordering = "发布时间"};
    const QString open = QStringLiteral("{zuvi:arclist orderby='now'}");
    const QString close = QStringLiteral("{/zuvi:arclist}");
    EXPECT_EQ(articleListSnippet(0, in), (QStringList{open, "<li>", "<a href='{$field.typeurl}'>{$field.typename}</a>",
                                                      "<a href='{$field.arcurl}'>{$field.title}</a>", "</li>", close}));
    EXPECT_EQ(articleListSnippet(1, in), (QStringList{open, "<li>", "<a href='{$field.arcurl}'>{$field.title}</a>", "</li>", close}));
    EXPECT_EQ(articleListSnippet(2, in),
              (QStringList{open, "<li>", "<a href='{$field.arcurl}'><img src='{$field.litpic}' />{$field.title}</a>", "</li>", close}));
    EXPECT_EQ(articleListSnippet(3, in),
              (QStringList{open, "<li>", "<a href='{$field.arcurl}'><img src='{$field.litpic}' />{$field.title}</a>",
                           "<span>{$field.seo_description}...</span>", "</li>", close}));
    EXPECT_EQ(articleListSnippet(4, in), (QStringList{open, "<li>", "<a href='{$field.arcurl}'>{$field.title}</a>",
                                                      "<p>{$field.seo_description}...</p>", "</li>", close}));
    const ArticleListInputs given{.columnId = "1", .attribute = "推荐[c]", .titleLength = "2", .summaryLength = "3",
                                  .rows = "4", .ordering = "随机排序"};
    EXPECT_EQ(articleListSnippet(5, given), QStringList{"{$field.click}"});
    EXPECT_EQ(articleListSnippet(6, in), std::nullopt);
    EXPECT_EQ(articleListSnippet(-1, in), std::nullopt);
}

// A PHP date format written out for the moment every time style shows as its
// sample, 2018-08-08 08:08:08.
QString sampleDate(const QString &format)
{
    QString date;
    for (QChar c : format) {
        if (c == u'Y')
            date += QStringLiteral("2018");
        else if (QStringView(u"mdHis").contains(c))
            date += QStringLiteral("08");
        else
            date += c;
    }
    return date;
}

TEST(ArticleList, EachTimeStyleAfterTheNeutralFirstWritesTheDateItShows)
{
    // A style shows its sample date, perhaps followed by a note in brackets.
    const QRegularExpression dateLine(QStringLiteral("^\\{\\$field\\.add_time\\|MyDate='([^']+)',###\\}$"));
    const QStringList styles = timeStyleItems();
    ASSERT_GT(styles.size(), 1);
    EXPECT_EQ(timeStyleSnippet(styles.first()), QStringList());
    QSet<QString> formats;
    for (const QString &style : styles.mid(1)) {
        const std::optional<QStringList> lines = timeStyleSnippet(style);
        ASSERT_TRUE(lines && lines->size() == 1) << style.toStdString();
        const QRegularExpressionMatch format = dateLine.match(lines->first());
        ASSERT_TRUE(format.hasMatch()) << lines->first().toStdString();
        const QString date = sampleDate(format.captured(1));
        EXPECT_TRUE(style == date || (style.startsWith(date + u'(') && style.endsWith(u')')))
            << style.toStdString() << " writes " << date.toStdString();
        formats.insert(format.captured(1));
    }
    EXPECT_EQ(formats.size(), styles.size() - 1);
    EXPECT_EQ(timeStyleSnippet(QStringLiteral("2018/08/08")), std::nullopt);
}

} // namespace
