#include "core/catalog/listtag.h"
#include "tests/support/pagedata.h"
#include "tests/support/qtprinters.h"

#include <gtest/gtest.h>

namespace {

// ---- The list loop builder -------------------------------------------------

struct ListTagCase {
    const char16_t *titleLen;
    const char16_t *infoLen;
    const char16_t *pageSize;
    const char16_t *firstLine;
    friend void PrintTo(const ListTagCase &c, std::ostream *os)
    {
        *os << '"' << QString::fromUtf16(c.titleLen).toStdString() << "\", \""
            << QString::fromUtf16(c.infoLen).toStdString() << "\", \""
            << QString::fromUtf16(c.pageSize).toStdString() << '"';
    }
};

class ListTagBuilder : public testing::TestWithParam<ListTagCase> {};

TEST_P(ListTagBuilder, BuildsTheOpeningTagFromTheNumericBoxesOnly)
{
    const ListTagCase &c = GetParam();
    const QStringList lines = listTagSnippet(QString::fromUtf16(c.titleLen), QString::fromUtf16(c.infoLen),
                                             QString::fromUtf16(c.pageSize));
    // Only the opening tag depends on the boxes; the rest never changes.
    EXPECT_EQ(lines, (QStringList{QString::fromUtf16(c.firstLine),
                                  QStringLiteral("<a href='{$field.arcurl}'>{$field.title}</a>"),
                                  QStringLiteral("<span>{$field.seo_description}...</span>"),
                                  QStringLiteral("{/zuvi:list}")}));
}

INSTANTIATE_TEST_SUITE_P(Boxes, ListTagBuilder, testing::Values(
    ListTagCase{u"", u"", u"", u"{zuvi:list}"},
    ListTagCase{u"2", u"", u"", u"{zuvi:list titlelen='2'}"},
    ListTagCase{u"20", u"", u"", u"{zuvi:list titlelen='20'}"},
    ListTagCase{u"20", u"", u"1", u"{zuvi:list titlelen='20' pagesize='1'}"},
    ListTagCase{u"20", u"", u"10", u"{zuvi:list titlelen='20' pagesize='10'}"},
    // A box that is no number drops out; the others keep their order.
    ListTagCase{u"20", u"abc", u"10", u"{zuvi:list titlelen='20' pagesize='10'}"},
    ListTagCase{u"", u"160", u"", u"{zuvi:list infolen='160'}"},
    ListTagCase{u"", u"", u"10", u"{zuvi:list pagesize='10'}"},
    ListTagCase{u"20", u"160", u"10", u"{zuvi:list titlelen='20' infolen='160' pagesize='10'}"},
    // Numbers go in exactly as typed, blanks included.
    ListTagCase{u" 12", u"", u"", u"{zuvi:list titlelen=' 12'}"},
    ListTagCase{u"", u"12 ", u"", u"{zuvi:list infolen='12 '}"},
    ListTagCase{u"-3", u"1.5", u"1e5", u"{zuvi:list titlelen='-3' infolen='1.5' pagesize='1e5'}"},
    ListTagCase{u"3a", u".", u"--1", u"{zuvi:list}"},
    ListTagCase{u"3a", u"160", u".", u"{zuvi:list infolen='160'}"},
    ListTagCase{u"  ", u"中文", u"1 0", u"{zuvi:list}"}));

// ---- The page data -----------------------------------------------------------

const PageCatalog &listsCatalog()
{
    return pageData(Page::List);
}

struct ExactSnippet {
    int index;
    const char *why;
    QStringList lines;
};

// Entries whose lines are easy to get subtly wrong: plain double quotes, a
// missing blank, blanks around an equals sign, leading blanks.
const ExactSnippet kExactSnippets[] = {
    {5, "double quotes around a placeholder",
     {"<a href=\"{$zuvi.field.typeid|gettoptype=###,'typeurl'}\">",
      "{$zuvi.field.typeid|gettoptype=###,'typename'}", "</a>"}},
    {6, "six double quotes, three leading blanks",
     {"{zuvi:volist name=\"$field.file_list\" id=\"vo\" row=\"6\"}",
      "   <a href='{$vo.downurl}'>{$vo.title}</a>", "{/zuvi:volist}"}},
    {7, "no blank after POST",
     {"{zuvi:guestbookform type='default'}",
      "<form method=\"POST\"{$field.formhidden} action=\"{$field.action}\" onsubmit=\"{$field.submit}\">",
      "字段名称：{$field.itemname_自定义字段1}", "字段值：{$field.attr_自定义字段1}",
      "表单判断：id='attr_自定义字段1'", "{$field.hidden}", "</form>", "{/zuvi:guestbookform}"}},
    {10, "double quotes", {"<meta name=\"keywords\" content=\"{$zuvi.field.seo_keywords}\" />"}},
    {11, "double quotes", {"<meta name=\"description\" content=\"{$zuvi.field.seo_description}\" />"}},
    {12, "blanks around the equals sign of content",
     {"<meta name=\"generator\" content = \"zuvicms\" data-variable=\"{zuvi:global name='web_zuvicms' /}\" />"}},
    {16, "indentation, a full-width colon and two blanks after a brace",
     {"{zuvi:screening id='field' currentstyle='active' addfields='danxuan' alltxt='不限'}",
      "<div class='row'>",
      "  <div class='filter-box'>",
      "  {zuvi:volist name='$field.list' id='vo'}",
      "    <div class='filter-boxs'>",
      "      <div class='filter-tit'>",
      "        {$vo.title} ：",
      "      </div>",
      "      <div class='filter-cen'>",
      "      {zuvi:volist name='$vo.dfvalue' id='val'}",
      "        <a {$val.onClick} class='{$val.currentstyle}'>{$val.name}</a>&nbsp;",
      "      {/zuvi:volist}",
      "      </div>",
      "    </div>",
      "   {/zuvi:volist}",
      "   <div class='filter-bt'><a href='{$field.resetUrl}'>清除筛选条件</a></div>",
      "  </div>",
      "{  $field.hidden}",
      "</div>",
      "{/zuvi:screening}"}},
};

TEST(ListPageData, TrickySnippetsAreExactLineForLine)
{
    for (const ExactSnippet &snippet : kExactSnippets) {
        const CatalogControl *entry = listsCatalog().entry(qint16(snippet.index));
        ASSERT_NE(entry, nullptr) << snippet.index;
        EXPECT_EQ(entry->lines, snippet.lines) << "entry " << snippet.index << ": " << snippet.why;
    }
}

TEST(ListPageData, OnlyTheDoubleQuotedEntriesUseDoubleQuotes)
{
    const QList<int> doubleQuoted{5, 6, 7, 10, 11, 12};
    for (const CatalogControl *entry : listsCatalog().entries()) {
        const bool hasDouble = entry->lines.join(u'\n').contains(u'"');
        EXPECT_EQ(hasDouble, doubleQuoted.contains(entry->index)) << entry->index;
        // Typographic quotes would break the template.
        for (char16_t quote : {u'\u201C', u'\u201D', u'\u2018', u'\u2019'})
            EXPECT_FALSE(entry->lines.join(u'\n').contains(QChar(quote))) << entry->index;
    }
}

} // namespace
