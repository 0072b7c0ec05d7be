#include "core/catalog/pagebuilders.h"

#include "core/catalog/homebuilders.h"
#include "core/catalog/listtag.h"
#include "core/catalog/pagetable.h"

#include <iterator>

namespace {

const TagBuilder &navigationMenu(int)
{
    return navigationMenuBuilder();
}

const TagBuilder &listTag(int)
{
    return listTagBuilder();
}

constexpr const char *kNavigationMenuInputs[] = {"columnAttribute", "columnId", "columnCount"};
constexpr const char *kArticleListInputs[] = {"articleColumnId",      "articleAttribute", "articleTitleLength",
                                              "articleSummaryLength", "articleRows",      "articleOrder"};
constexpr const char *kArticleLayoutOptions[] = {"articleLayout0", "articleLayout1", "articleLayout2", "articleLayout3",
                                           "articleLayout4"};
static_assert(std::size(kArticleLayoutOptions) == kArticleLayouts);
constexpr const char *kListTagInputs[] = {"listTitleLength", "listSummaryLength", "listPageSize"};

constexpr PageBuilder kBuilders[] = {
    {Page::Home, u"导航菜单", "columnId", kNavigationMenuInputs, {}, navigationMenu},
    {Page::Home, u"文章列表", "articleColumnId", kArticleListInputs, kArticleLayoutOptions, articleListBuilder},
    {Page::List, u"列表循环", "listTitleLength", kListTagInputs, {}, listTag},
};

} // namespace

std::span<const PageBuilder> pageBuilders()
{
    return kBuilders;
}
