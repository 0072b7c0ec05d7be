#include "core/product.h"
#include "tests/support/pagedata.h"
#include "tests/support/qtprinters.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

// The common tags page (other.page) and the visual editing page (ui.page).

namespace {

const char *const kOther = "other.page";
const char *const kUi = "ui.page";

const PageCatalog &catalog(const char *file)
{
    return pageData(qstrcmp(file, kOther) == 0 ? Page::CommonTags : Page::VisualEditing);
}

QStringList linesOf(const char *file, int index)
{
    const CatalogControl *entry = catalog(file).entry(static_cast<qint16>(index));
    return entry ? entry->lines : QStringList{};
}

qsizetype indentOf(const QString &line)
{
    qsizetype n = 0;
    while (n < line.size() && line[n] == u' ')
        ++n;
    return n;
}

// Checks that the HTML elements and template tags of a snippet close in the
// order they open; returns the first fault found, or nothing.
QString firstNestingFault(const QStringList &lines)
{
    static const QRegularExpression tag(QStringLiteral(
        R"(<(/?)([A-Za-z][A-Za-z0-9]*)\b[^>]*?(/?)>|\{(/?)zuvi:([A-Za-z]+)\b[^}]*?(/?)\})"));
    static const QStringList voidElements = {QStringLiteral("img"), QStringLiteral("input"), QStringLiteral("br")};
    QStringList open;
    for (const QString &line : lines) {
        for (const QRegularExpressionMatch &m : tag.globalMatch(line)) {
            const bool html = m.capturedLength(2) > 0;
            const QString name = html ? m.captured(2) : QStringLiteral("zuvi:") + m.captured(5);
            const bool closing = !m.captured(html ? 1 : 4).isEmpty();
            const bool selfClosing = !m.captured(html ? 3 : 6).isEmpty() || (html && voidElements.contains(name));
            if (selfClosing)
                continue;
            if (!closing)
                open.append(name);
            else if (open.isEmpty() || open.takeLast() != name)
                return QStringLiteral("unexpected close of ") + name + QStringLiteral(" in: ") + line;
        }
    }
    return open.isEmpty() ? QString() : QStringLiteral("left open: ") + open.join(u' ');
}

TEST(OtherUiCatalog, TheAttributeLegendClosesTheFirstFourVisualEditingEntriesOnly)
{
    const QStringList legend = {
        QStringLiteral("<!--"),
        QStringLiteral("Class = '固定样式'"),
        QStringLiteral("typeid='初始栏目ID '"),
        QStringLiteral("e-id='每组标签唯一数字id'"),
        QStringLiteral("e-page='模板文件名称'"),
        QStringLiteral("e-type='调用类型'"),
        QStringLiteral("-->"),
    };
    for (int i = 0; i <= 3; ++i) {
        const QStringList lines = linesOf(kUi, i);
        ASSERT_GT(lines.size(), legend.size()) << "entry " << i;
        EXPECT_EQ(lines.mid(lines.size() - legend.size()), legend) << "entry " << i;
        // The wrapper is closed before the legend starts.
        EXPECT_EQ(lines[lines.size() - legend.size() - 1], QStringLiteral("</div>")) << "entry " << i;
    }
    for (int i = 4; i <= 10; ++i) {
        for (const QString &line : linesOf(kUi, i))
            EXPECT_FALSE(legend.contains(line)) << "entry " << i << ": " << line.toStdString();
    }
}

TEST(OtherUiCatalog, TheHomeSiteStandsInEntriesFiveToSevenOfTheVisualEditingPageOnly)
{
    const QString home = homeSiteAddress();
    ASSERT_TRUE(home.startsWith(QStringLiteral("https://")) || home.startsWith(QStringLiteral("http://")))
        << home.toStdString();

    const auto occurrences = [&home](const char *file, int index) {
        qsizetype n = 0;
        for (const QString &line : linesOf(file, index))
            n += line.count(home);
        return n;
    };
    for (int i = 0; i <= 10; ++i) {
        const qsizetype expected = (i == 5 || i == 7) ? 2 : i == 6 ? 1 : 0;
        EXPECT_EQ(occurrences(kUi, i), expected) << "ui.page entry " << i;
    }
    for (int i = 0; i <= 27; ++i)
        EXPECT_EQ(occurrences(kOther, i), 0) << "other.page entry " << i;

    // The address sits between the quoted pieces, nothing added around it.
    EXPECT_EQ(linesOf(kUi, 5).value(0),
              "<a href='" + home + "' class='zv-edit' e-id='2' e-page='index' e-type='html'>");
    EXPECT_EQ(linesOf(kUi, 5).value(5), "<a href='" + home + "'>QorCms</a>");
    EXPECT_EQ(linesOf(kUi, 6).value(0),
              "<a href='" + home + "' class='zv-edit' e-id='1' e-page='index' e-type='text'>");
    EXPECT_EQ(linesOf(kUi, 7).value(0),
              "<a href='" + home + "' class='zv-edit' e-id='200' e-page='index' e-type='code'>");
    EXPECT_EQ(linesOf(kUi, 7).value(5), "    <a href='" + home + "'>zuviCms</a>");
}

// Lines whose blanks, quotes or odd spellings are easy to get wrong.
struct ExactLine {
    const char *file;
    int entry;
    int line;   // from 1
    const char16_t *text;
};

const ExactLine kExactLines[] = {
    {kOther, 0, 1, u"{zuvi:adv pid='广告位置ID' }"},
    {kOther, 3, 2, u"  子栏目内容"},
    {kOther, 3, 3, u"  <div class='btn-input'>"},
    {kOther, 5, 2, u"    $a = 'ZuviCMS';"},
    {kOther, 5, 3, u"    echo $a;"},
    {kOther, 10, 4, u"<input type='text' name='keywords' placeholder='请输入关键字'>"},
    {kOther, 11, 1, u"{zuvi:citysite type='top' row='10' id='field1' currentstyle='active'} <!-- 第一级城市站点循环开始 -->"},
    {kOther, 11, 26, u"{/zuvi:citysite} <!-- 第一级城市站点循环结束 -->"},
    {kOther, 13, 1, u"{zuvi:asklist id='field' row='20'}"},
    {kOther, 13, 26, u"{/zuvi:asklist}"},
    {kOther, 14, 2, u"   <a href='{$field.url}' target='_blank'>{$field.word}</a><br/>"},
    {kOther, 15, 2,
     u"<li class='{$field.currentstyle}'><a href='{$field.nav_url}' {$field.target} {$field.nofollow}>"
     u"{$field.nav_name}</a> </li>"},
    {kOther, 16, 6, u"{zuvi:static file='skin/js/common.js,skin/css/style.css' /}"},
    {kOther, 18, 2, u"{$view.test1} - {$view.test2}"},
    {kOther, 19, 1, u"{zuvi:arcview aid='$zuvi.field.aid' addfields='test1,test2' id='view'}"},
    {kOther, 20, 1, u"<!--value值：Index、lists、view;type值：in、notin-->"},
    {kOther, 20, 3, u" <!--显示的内容-->"},
    {kOther, 20, 4, u" {/zuvi:range}"},
    {kOther, 21, 1, u"{zuvi:assign name='toplitpic' value='$zuvi.field.typeid|gettoptype=###,\"litpic\"'}"},
    {kOther, 21, 2, u" {zuvi:empty name='$toplitpic'}"},
    {kOther, 21, 3,
     u"   <img src=\"{zuvi:global name='web_templets_pc' /}/skin/img/banner.jpg\"  height=\"134\" border=0 >"},
    {kOther, 21, 5, u"   <img src=\"{$zuvi.field.typeid|gettoptype=###,'litpic'}\"  height=\"134\" border=0 >"},
    {kOther, 22, 2, u" <li>"},
    {kOther, 22, 3, u"    <h2 class=\"entry-title\">"},
    {kOther, 22, 5,
     u"      <a href=\"{$field.arcurl}\" title=\"{$field.title}\" rel=\"bookmark\">{$field.title}</a>"},
    {kOther, 23, 1, u"{zuvi:notempty name='$field.file_size'}({$field.file_size}){/zuvi:notempty}"},
    {kOther, 27, 1, u"{zuvi:volist name=\"$zuvi.field.file_list\" id=\"field\"}"},
    {kOther, 27, 2, u"  附件文件名：{$field.file_name}"},
    {kUi, 0, 1, u"<div class='zv-edit' e-id='1' e-type='type' e-page='index' >"},
    {kUi, 0, 3, u"  {zuvi:type type='self' empty='缺省文字'}"},
    // Both opening tags share the first line, two blanks apart.
    {kUi, 1, 1,
     u"<div class='zv-edit' e-id='2' e-type='channel' e-page='index'>  {zuvi:uichannel e-id='2' typeid='1' e-page='footer'}"},
    {kUi, 1, 2, u"    {zuvi:type id='field'}"},
    {kUi, 1, 3, u"      <h4> <a href='{$field.typeurl}' >{$field.typename}</a> </h4>"},
    {kUi, 1, 11, u"</div>"},
    {kUi, 2, 5, u"    <li><a href='{$field.arcurl}'> {$field.title} </a> </li>"},
    {kUi, 2, 6, u"  {/zuvi:arclist}"},
    {kUi, 3, 2, u"{zuvi:uiupload e-id='1' e-page='index' id='field'}"},
    {kUi, 3, 5, u"<img src='/uploads/180606/1-1P60610091T37.jpg' alt='ZuviCms' />"},
    {kUi, 4, 3,
     u"  <a href='{$field.links}'><img src='{$field.litpic}' alt='{$field.title}' class='zuvi-edit' "
     u"e-id='{$field.id}' e-type='adv'/></a>"},
    {kUi, 6, 3, u"  {zuvi:uitext e-id='100' e-page='index' id='field'}"},
    {kUi, 6, 5, u"  {zuvi:else/}"},
    {kUi, 6, 6, u"    纯文本内容"},
    {kUi, 6, 8, u"<!-- uitext可视化标签调用 end -->"},
    {kUi, 7, 4, u"    {$field.value}"},
    {kUi, 7, 8, u"  <!-- uicode可视化标签调用 end -->"},
    {kUi, 8, 1, u" <!-- uibackground可视化标签调用 start -->"},
    {kUi, 8, 2,
     u"<div class='zv-edit' e-id='300' e-page='lists_article' e-type='background' "
     u"style='background-image: url({zuvi:uibackground e-id='300' e-page='lists_article' "
     u"e-img='skin/images/abo/about_img1.png' /}) no-repeat center top;'>"},
    {kUi, 9, 2, u"  {zuvi:uimap e-id='200' e-page='lists_article' id='field' width='100%' height='250'}"},
    {kUi, 10, 1, u"{zuvi:ui open='off' /}"},
};

TEST(OtherUiCatalog, LinesWithTrapsAreExact)
{
    for (const ExactLine &c : kExactLines) {
        const QStringList lines = linesOf(c.file, c.entry);
        ASSERT_LE(c.line, lines.size()) << c.file << " entry " << c.entry;
        EXPECT_EQ(lines[c.line - 1], QString::fromUtf16(c.text))
            << c.file << " entry " << c.entry << " line " << c.line;
    }
}

// Entries 11 and 13 of the common tags page are given by their structure:
// fixed texts at fixed nesting, each level two blanks deeper than the last.
struct NestedLine {
    int entry;
    int line;   // from 1
    int depth;
    const char16_t *text;   // without its indentation
};

const NestedLine kNestedLines[] = {
    {11, 2, 1, u"<li>"},
    {11, 3, 2, u"<a href='{$field1.siteurl}' class='{$field1.currentstyle}'>"},
    {11, 4, 3, u"{$field1.name}"},
    {11, 5, 3, u"{zuvi:notempty name='$field1.children'}"},
    {11, 6, 4, u"<!-- 有子城市站点时才显示这里的html代码，比如：箭头、图标等 -->"},
    {11, 7, 3, u"{/zuvi:notempty}"},
    {11, 8, 2, u"</a>"},
    {11, 9, 2, u"{zuvi:notempty name='$field1.children'} <!-- 判断是否有子城市站点（第二级城市站点）start -->"},
    {11, 11, 4, u"{zuvi:channel name='$field1.children' id='field2' row='10'} <!-- 第二级城市站点循环开始 -->"},
    {11, 13, 6, u"<a href='{$field2.siteurl}' class='dropdown-item'>{$field2.name}</a>"},
    {11, 14, 6, u"{zuvi:notempty name='$field2.children'} <!-- 判断是否有子城市站点（第三级城市站点）start -->"},
    {11, 15, 7, u"<div class='dropdown-menu animate'>"},
    {11, 16, 8, u"{zuvi:citysite name='$field2.children' id='field3' row='10'} <!--第三级城市站点循环开始 -->"},
    {11, 17, 9, u"<a href='{$field3.siteurl}' class='dropdown-item'>{$field3.name}</a>"},
    {11, 18, 8, u"{/zuvi:citysite} <!-- 第三级城市站点循环结束 -->"},
    {11, 20, 6, u"{/zuvi:notempty} <!-- 判断是否有子城市站点（第三级城市站点）end-->"},
    {11, 22, 4, u"{/zuvi:channel} <!-- 第二级城市站点循环结束 -->"},
    {11, 24, 2, u"{/zuvi:notempty} <!-- 判断是否有子城市站点（第二级城市站点）end -->"},
    {11, 25, 1, u"</li>"},
    {13, 2, 1, u"<li>"},
    {13, 3, 2, u"<div class='date'>"},
    {13, 4, 3, u"<span class='dateline' title='天'>{$field.add_time|MyDate='d',###}</span>"},
    {13, 5, 3, u"<em title='年-月'>{$field.add_time|MyDate='Y-m',###}</em>"},
    {13, 8, 3, u"<a href='{$field.ask_url}' title='{$field.ask_title}'>"},
    {13, 9, 4, u"<!-- 是否显示推荐字样 -->"},
    {13, 10, 4, u"{zuvi:eq name='$field.is_recom' value='1'}"},
    {13, 11, 5, u"<span style='color: red;'>[推荐]</span>"},
    {13, 12, 4, u"{/zuvi:eq}"},
    {13, 13, 4, u"<!-- 问答标题 -->"},
    {13, 14, 4, u"{$field.ask_title|html_msubstr=###, 0, 30, true}"},
    {13, 15, 3, u"</a>"},
    {13, 16, 3, u"<!-- 问答内容 -->"},
    {13, 17, 3, u"{$field.content|html_msubstr=###, 0, 35, true}"},
    {13, 20, 3, u"<span>查看人数：{$field.click}</span>"},
    {13, 21, 3, u"<span>回复人数：{$field.replies}</span>"},
    {13, 22, 3, u"<span style='color: red;' title='所属分类'><a href='{$field.type_url}'>{$field.type_name}</a></span>"},
    {13, 23, 3, u"<span title='完整发布时间显示'>{$field.add_time|MyDate='Y-m-d H:i:s',###}</span>"},
    {13, 25, 1, u"</li>"},
};

TEST(OtherUiCatalog, NestedListsHoldTheirFixedLinesAtTheirDepth)
{
    for (const NestedLine &c : kNestedLines) {
        const QStringList lines = linesOf(kOther, c.entry);
        ASSERT_LE(c.line, lines.size()) << "entry " << c.entry;
        EXPECT_EQ(lines[c.line - 1], QString(2 * c.depth, u' ') + QString::fromUtf16(c.text))
            << "entry " << c.entry << " line " << c.line;
    }
    // The filler around them: every element and tag closed in order, indents
    // in steps of two, never deeper than one level below the previous line,
    // no trailing blanks.
    for (int entry : {11, 13}) {
        EXPECT_EQ(firstNestingFault(linesOf(kOther, entry)), QString()) << "entry " << entry;
        qsizetype previous = 0;
        for (const QString &line : linesOf(kOther, entry)) {
            const qsizetype indent = indentOf(line);
            EXPECT_EQ(indent % 2, 0) << "entry " << entry << ": " << line.toStdString();
            EXPECT_LE(indent, previous + 2) << "entry " << entry << ": " << line.toStdString();
            EXPECT_FALSE(line.endsWith(u' ')) << "entry " << entry << ": " << line.toStdString();
            previous = indent;
        }
    }
}

} // namespace
