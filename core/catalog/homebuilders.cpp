#include "core/catalog/homebuilders.h"

#include "core/catalog/tagbuilder.h"

#include <array>

namespace {

// Column attribute -> the channel loop's `type`.
const ChoiceTable &columnTypes()
{
    static const ChoiceTable table = {
        {QStringLiteral("顶级栏目"), QStringLiteral("top")},
        {QStringLiteral("同级栏目"), QStringLiteral("self")},
        {QStringLiteral("下级栏目"), QStringLiteral("son")},
        {QStringLiteral("下级同级"), QStringLiteral("sonself")},
        {QStringLiteral("第一层级"), QStringLiteral("first")},
    };
    return table;
}

// Other field -> placeholder; the neutral first item empties the box.
const QString kNeutralField = QStringLiteral("下拉选择");
const ChoiceTable &otherFields()
{
    static const ChoiceTable table = {
        {kNeutralField, QString()},
        {QStringLiteral("英文名称"), QStringLiteral("{$field.englist_name}")},
        {QStringLiteral("栏目图片"), QStringLiteral("{$field.litpic}")},
        {QStringLiteral("栏目描述"), QStringLiteral("{$field.seo_description}")},
    };
    return table;
}

// Article attribute -> `flag` fragment.
const ChoiceTable &articleAttributes()
{
    static const ChoiceTable table = {
        {QStringLiteral("无属性"), QString()},
        {QStringLiteral("头条[h]"), QStringLiteral(" flag='h'")},
        {QStringLiteral("推荐[c]"), QStringLiteral(" flag='c'")},
        {QStringLiteral("特荐[a]"), QStringLiteral(" flag='a'")},
        {QStringLiteral("加粗[b]"), QStringLiteral(" flag='b'")},
        {QStringLiteral("跳转[j]"), QStringLiteral(" flag='j'")},
        {QStringLiteral("幻灯[s]"), QStringLiteral(" flag='s'")},
        {QStringLiteral("滚动[r]"), QStringLiteral(" flag='r'")},
        {QStringLiteral("最热[d]"), QStringLiteral(" flag='d'")},
    };
    return table;
}

// Ordering -> `orderby` fragment; publication time is also the fallback.
const ChoiceTable &orderings()
{
    static const ChoiceTable table = {
        {QStringLiteral("发布时间"), QStringLiteral(" orderby='now'")},
        {QStringLiteral("按点击数"), QStringLiteral(" orderby='click'")},
        {QStringLiteral("按排序号"), QStringLiteral(" orderby='sort_order'")},
        {QStringLiteral("随机排序"), QStringLiteral(" orderby='rand'")},
    };
    return table;
}

// Time style -> date placeholder; the neutral first item empties the box.
const QString kNoTime = QStringLiteral("无时间显示");
const ChoiceTable &timeStyles()
{
    static const ChoiceTable table = {
        {kNoTime, QString()},
        {QStringLiteral("2018年08月08日"), QStringLiteral("{$field.add_time|MyDate='Y年m月d日',###}")},
        {QStringLiteral("2018-08-08"), QStringLiteral("{$field.add_time|MyDate='Y-m-d',###}")},
        {QStringLiteral("2018-08-08 08:08:08"), QStringLiteral("{$field.add_time|MyDate='Y-m-d H:i:s',###}")},
        {QStringLiteral("08-08 08:08:08(月-日 时-分-秒)"), QStringLiteral("{$field.add_time|MyDate='m-d H:i:s',###}")},
        {QStringLiteral("08-08(月-日)"), QStringLiteral("{$field.add_time|MyDate='m-d',###}")},
        {QStringLiteral("2018年08月08日 08:08:08"), QStringLiteral("{$field.add_time|MyDate='Y年m月d日 H:i:s',###}")},
    };
    return table;
}

// A choice that writes one placeholder line, or empties the box for the
// neutral item, or does nothing for a text outside the list.
std::optional<QStringList> placeholderChoice(const ChoiceTable &table, const QString &neutral, const QString &item)
{
    const std::optional<QString> line = choiceValue(table, item);
    if (!line)
        return std::nullopt;
    if (item == neutral)
        return QStringList();
    return QStringList{*line};
}

// The body lines of each list layout, between the opening line and the
// closing tag.
const QStringList &layoutBody(int layout)
{
    static const QStringList bodies[kArticleLayouts] = {
        {QStringLiteral("<li>"), QStringLiteral("<a href='{$field.typeurl}'>{$field.typename}</a>"),
         QStringLiteral("<a href='{$field.arcurl}'>{$field.title}</a>"), QStringLiteral("</li>")},
        {QStringLiteral("<li>"), QStringLiteral("<a href='{$field.arcurl}'>{$field.title}</a>"),
         QStringLiteral("</li>")},
        {QStringLiteral("<li>"), QStringLiteral("<a href='{$field.arcurl}'><img src='{$field.litpic}' />{$field.title}</a>"),
         QStringLiteral("</li>")},
        {QStringLiteral("<li>"), QStringLiteral("<a href='{$field.arcurl}'><img src='{$field.litpic}' />{$field.title}</a>"),
         QStringLiteral("<span>{$field.seo_description}...</span>"), QStringLiteral("</li>")},
        {QStringLiteral("<li>"), QStringLiteral("<a href='{$field.arcurl}'>{$field.title}</a>"),
         QStringLiteral("<p>{$field.seo_description}...</p>"), QStringLiteral("</li>")},
    };
    return bodies[layout];
}

// Each article list input with the part of the opening line it fills, in the
// order the parts stand in the line.
struct ArticleListPart {
    QString ArticleListInputs::*input;
    OpeningPart part;
};

const std::array<ArticleListPart, 6> &articleListParts()
{
    static const std::array<ArticleListPart, 6> parts = {{
        {&ArticleListInputs::columnId, numberPart(QStringLiteral("typeid"), QStringLiteral("COLUMN_ID"), QStringLiteral("1"))},
        // The first item, and a text outside the list, add no flag at all.
        {&ArticleListInputs::attribute, choicePart(articleAttributes(), QStringLiteral("FLAG"))},
        {&ArticleListInputs::titleLength,
         numberPart(QStringLiteral("titlelen"), QStringLiteral("TITLE_LENGTH"), QStringLiteral("30"))},
        {&ArticleListInputs::summaryLength,
         numberPart(QStringLiteral("infolen"), QStringLiteral("SUMMARY_LENGTH"), QStringLiteral("100"))},
        {&ArticleListInputs::rows, numberPart(QStringLiteral("row"), QStringLiteral("ROWS"), QStringLiteral("10"))},
        // A text outside the list orders by publication time.
        {&ArticleListInputs::ordering, choicePart(orderings(), QStringLiteral("ORDERING"), true)},
    }};
    return parts;
}

// The inputs in the order of the builder's parts.
QStringList articleListBuilderInputs(const ArticleListInputs &inputs)
{
    QStringList list;
    for (const ArticleListPart &part : articleListParts())
        list << inputs.*part.input;
    return list;
}

} // namespace

const TagBuilder &navigationMenuBuilder()
{
    static const TagBuilder builder{
        {
            // The column attribute's value stands inside type='...', which is
            // there even for a text outside the list.
            textPart(QStringLiteral("{zuvi:channel type='")),
            choicePart(columnTypes(), QStringLiteral("COLUMN_TYPE")),
            textPart(QStringLiteral("'")),
            numberPart(QStringLiteral("typeid"), QStringLiteral("COLUMN_ID"), QStringLiteral("1")),
            numberPart(QStringLiteral("row"), QStringLiteral("COLUMN_COUNT"), QStringLiteral("10")),
            textPart(QStringLiteral(" currentstyle='on'}")),
        },
        {QStringLiteral("<a href='{$field.typeurl}' class='{$field.currentstyle}'>{$field.typename}</a>"),
         QStringLiteral("{/zuvi:channel}")},
    };
    return builder;
}

const TagBuilder &articleListBuilder(int layout)
{
    static const QList<OpeningPart> opening = [] {
        QList<OpeningPart> parts{textPart(QStringLiteral("{zuvi:arclist"))};
        for (const ArticleListPart &part : articleListParts())
            parts << part.part;
        return parts << textPart(QStringLiteral("}"));
    }();
    static const std::array<TagBuilder, kArticleLayouts> builders = [] {
        std::array<TagBuilder, kArticleLayouts> result;
        for (int layout = 0; layout < kArticleLayouts; ++layout)
            result[layout] = TagBuilder{opening, layoutBody(layout) + QStringList{QStringLiteral("{/zuvi:arclist}")}};
        return result;
    }();
    Q_ASSERT(layout >= 0 && layout < kArticleLayouts);
    return builders[layout];
}

QStringList columnAttributeItems()
{
    return choiceItems(columnTypes());
}

QStringList navigationMenuSnippet(const QString &attribute, const QString &columnId, const QString &columnCount)
{
    return navigationMenuBuilder().lines({attribute, columnId, columnCount});
}

QStringList otherFieldItems()
{
    return choiceItems(otherFields());
}

std::optional<QStringList> otherFieldSnippet(const QString &item)
{
    return placeholderChoice(otherFields(), kNeutralField, item);
}

QStringList articleAttributeItems()
{
    return choiceItems(articleAttributes());
}

QStringList orderingItems()
{
    return choiceItems(orderings());
}

QStringList timeStyleItems()
{
    return choiceItems(timeStyles());
}

QString articleListOpeningLine(const ArticleListInputs &inputs)
{
    return articleListBuilder(0).openingLine(articleListBuilderInputs(inputs));
}

std::optional<QStringList> articleListSnippet(int option, const ArticleListInputs &inputs)
{
    if (option == kArticleLayouts)
        return QStringList{QStringLiteral("{$field.click}")};
    if (option < 0 || option >= kArticleLayouts)
        return std::nullopt;
    return articleListBuilder(option).lines(articleListBuilderInputs(inputs));
}

std::optional<QStringList> timeStyleSnippet(const QString &item)
{
    return placeholderChoice(timeStyles(), kNoTime, item);
}
