#include "core/homebuilders.h"

#include "core/numeric.h"

#include <utility>
#include <vector>

namespace {

using Table = std::vector<std::pair<QString, QString>>;   // item -> value, in list order

// Column attribute -> the channel loop's `type`.
const Table &columnTypes()
{
    static const Table table = {
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
const Table &otherFields()
{
    static const Table table = {
        {kNeutralField, QString()},
        {QStringLiteral("英文名称"), QStringLiteral("{$field.englist_name}")},
        {QStringLiteral("栏目图片"), QStringLiteral("{$field.litpic}")},
        {QStringLiteral("栏目描述"), QStringLiteral("{$field.seo_description}")},
    };
    return table;
}

// Article attribute -> `flag` fragment.
const Table &articleAttributes()
{
    static const Table table = {
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
const Table &orderings()
{
    static const Table table = {
        {QStringLiteral("发布时间"), QStringLiteral(" orderby='now'")},
        {QStringLiteral("按点击数"), QStringLiteral(" orderby='click'")},
        {QStringLiteral("按排序号"), QStringLiteral(" orderby='sort_order'")},
        {QStringLiteral("随机排序"), QStringLiteral(" orderby='rand'")},
    };
    return table;
}

// Time style -> date placeholder; the neutral first item empties the box.
const QString kNoTime = QStringLiteral("无时间显示");
const Table &timeStyles()
{
    static const Table table = {
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

QStringList items(const Table &table)
{
    QStringList result;
    for (const auto &row : table)
        result << row.first;
    return result;
}

std::optional<QString> lookup(const Table &table, const QString &item)
{
    for (const auto &row : table) {
        if (row.first == item)
            return row.second;
    }
    return std::nullopt;
}

// A choice that writes one placeholder line, or empties the box for the
// neutral item, or does nothing for a text outside the list.
std::optional<QStringList> placeholderChoice(const Table &table, const QString &neutral, const QString &item)
{
    const std::optional<QString> line = lookup(table, item);
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

} // namespace

QStringList columnAttributeItems()
{
    return items(columnTypes());
}

QString columnTypeValue(const QString &attribute)
{
    return lookup(columnTypes(), attribute).value_or(QString());
}

QStringList navigationMenuSnippet(const QString &attribute, const QString &columnId, const QString &columnCount)
{
    const QString opening = QStringLiteral("{zuvi:channel type='") + columnTypeValue(attribute) + u'\''
                            + numericFragment(u"typeid", columnId) + numericFragment(u"row", columnCount)
                            + QStringLiteral(" currentstyle='on'}");
    return {opening, QStringLiteral("<a href='{$field.typeurl}' class='{$field.currentstyle}'>{$field.typename}</a>"),
            QStringLiteral("{/zuvi:channel}")};
}

QStringList otherFieldItems()
{
    return items(otherFields());
}

std::optional<QStringList> otherFieldSnippet(const QString &item)
{
    return placeholderChoice(otherFields(), kNeutralField, item);
}

QStringList articleAttributeItems()
{
    return items(articleAttributes());
}

QStringList orderingItems()
{
    return items(orderings());
}

QStringList timeStyleItems()
{
    return items(timeStyles());
}

QString articleListOpeningLine(const ArticleListInputs &in)
{
    return QStringLiteral("{zuvi:arclist") + numericFragment(u"typeid", in.columnId)
           + lookup(articleAttributes(), in.attribute).value_or(QString())
           + numericFragment(u"titlelen", in.titleLength) + numericFragment(u"infolen", in.summaryLength)
           + numericFragment(u"row", in.rows)
           + lookup(orderings(), in.ordering).value_or(orderings().front().second) + u'}';
}

std::optional<QStringList> articleListSnippet(int option, const ArticleListInputs &inputs)
{
    if (option == kArticleLayouts)
        return QStringList{QStringLiteral("{$field.click}")};
    if (option < 0 || option >= kArticleLayouts)
        return std::nullopt;
    return QStringList{articleListOpeningLine(inputs)} + layoutBody(option)
           + QStringList{QStringLiteral("{/zuvi:arclist}")};
}

std::optional<QStringList> timeStyleSnippet(const QString &item)
{
    return placeholderChoice(timeStyles(), kNoTime, item);
}
