#include "core/pagebuilders.h"

#include "core/homebuilders.h"
#include "core/listtag.h"
#include "core/pagetable.h"

namespace {

const TagBuilder &articleListInLayoutOne()
{
    return articleListBuilder(0);
}

constexpr PageBuilder kBuilders[] = {
    {Page::Home, u"导航菜单", "columnId", navigationMenuBuilder},
    {Page::Home, u"文章列表", "articleColumnId", articleListInLayoutOne},
    {Page::List, u"列表循环", "listTitleLength", listTagBuilder},
};

} // namespace

std::span<const PageBuilder> pageBuilders()
{
    return kBuilders;
}
