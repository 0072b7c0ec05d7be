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
    {Page::Home, u"导航菜单", "Text2", navigationMenuBuilder},
    {Page::Home, u"文章列表", "Text4", articleListInLayoutOne},
    {Page::List, u"列表循环", "Text2", listTagBuilder},
};

} // namespace

std::span<const PageBuilder> pageBuilders()
{
    return kBuilders;
}
