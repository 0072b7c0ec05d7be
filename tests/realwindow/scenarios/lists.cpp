// The list page's list loop builder, typed into through the X server.
#include "core/catalog/pagetable.h"
#include "tests/realwindow/scenario.h"

namespace {

#define LIST_TAG(first)                                                                                  \
    first u"\r\n<a href='{$field.arcurl}'>{$field.title}</a>\r\n<span>{$field.seo_description}...</span>" \
          u"\r\n{/zuvi:list}\r\n"

constexpr int kList = Page::List;

// Deleting needs the cursor at the end of the box: an empty text makes the
// step press End first and type nothing.
constexpr const char16_t *kAtEnd = u"";

ScenarioRegistration lists{{
    {"list: title length keeps the clipboard, page size copies the four lines",
     {
         {kList, "listPageTag3", nullptr, nullptr,
          u"{zuvi:pagelist listitem='index,pre,pageno,next,end' listsize='2' /}\r\n"},
         {kList, "listTitleLength", u"2", nullptr, nullptr, true},
         {kList, "listTitleLength", u"0", nullptr, nullptr, true},
         {kList, "listPageSize", u"1", nullptr, LIST_TAG(u"{zuvi:list titlelen='20' pagesize='1'}")},
         {kList, "listPageSize", u"0", nullptr, LIST_TAG(u"{zuvi:list titlelen='20' pagesize='10'}")},
         {kList, "listPageSize", kAtEnd, "BackSpace", LIST_TAG(u"{zuvi:list titlelen='20' pagesize='1'}")},
         {kList, "listSummaryLength", u"160", nullptr, LIST_TAG(u"{zuvi:list titlelen='20' infolen='160' pagesize='1'}")},
         {kList, "listSummaryLength", u"x", nullptr, LIST_TAG(u"{zuvi:list titlelen='20' pagesize='1'}")},
         {kList, "listTitleLength", kAtEnd, "BackSpace", nullptr, true},
     }},
    // Leaves the boxes empty again for whatever runs next.
    {"list: deleting every character gives the bare list tag",
     {
         {kList, "listTitleLength", kAtEnd, "BackSpace", nullptr, true},
         {kList, "listSummaryLength", kAtEnd, "BackSpace", LIST_TAG(u"{zuvi:list infolen='160' pagesize='1'}")},
         {kList, "listSummaryLength", kAtEnd, "BackSpace", LIST_TAG(u"{zuvi:list infolen='16' pagesize='1'}")},
         {kList, "listSummaryLength", kAtEnd, "BackSpace", LIST_TAG(u"{zuvi:list infolen='1' pagesize='1'}")},
         {kList, "listSummaryLength", kAtEnd, "BackSpace", LIST_TAG(u"{zuvi:list pagesize='1'}")},
         {kList, "listPageSize", kAtEnd, "BackSpace", LIST_TAG(u"{zuvi:list}")},
     }},
}};

#undef LIST_TAG

} // namespace
