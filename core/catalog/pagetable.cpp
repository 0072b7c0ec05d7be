#include "core/catalog/pagetable.h"

namespace {

constexpr int kWide = 11325;
constexpr int kNarrow = 11295;

constexpr PageInfo kPages[kPageCount] = {
    {Page::Home, u"首页标签", "IndexForm", kNarrow, "home.page", PageKind::Home, 120, 1150,
     {2, 3, 4, 5, 6, 7, 9, 8}},
    {Page::List, u"列表标签", "ListsForm", kWide, "lists.page", PageKind::List, 1245, 1150,
     {1, 3, 4, 5, 6, 7, 9, 8}},
    {Page::Content, u"内容标签", "ContentForm", kWide, "content.page", PageKind::Catalog, 2385, 1150,
     {1, 2, 4, 5, 6, 7, 9, 8}},
    {Page::Shop, u"商城标签", "ShopForm", kWide, "shop.page", PageKind::Catalog, 3525, 1150,
     {3, 1, 2, 5, 6, 7, 9, 8}},
    {Page::CommonTags, u"其他常用标签", "OtherForm", kWide, "other.page", PageKind::Catalog, 4665, 1590,
     {4, 3, 1, 2, 6, 7, 9, 8}},
    {Page::VisualEditing, u"可视编辑标签", "UiForm", kWide, "ui.page", PageKind::Catalog, 6240, 1550,
     {5, 4, 3, 1, 2, 7, 9, 8}},
    {Page::TemplateFiles, u"模板文件", "FileForm", kWide, "files.page", PageKind::Catalog, 7770, 1150,
     {6, 5, 4, 3, 1, 2, 9, 8}},
    {Page::ExtensionFunctions, u"扩展函数", "FcnForm", kNarrow, "functions.page", PageKind::Catalog, 8910, 1150,
     {7, 6, 5, 4, 3, 1, 2, 9}},
    {Page::About, u"关于Zuvi", "AboutForm", kWide, nullptr, PageKind::About, 10050, 1150,
     {7, 6, 5, 4, 3, 1, 2, 8}},
};

constexpr int kPageHeight = 9195;
// The navigation bar: one row at top 120, 375 high.
constexpr int kNavigationTop = 120;
constexpr int kNavigationHeight = 375;
// The content page's last button stands 30 twips further right.
constexpr int kContentPageAboutLeft = 10080;

} // namespace

bool isPage(int number)
{
    return number >= kFirstPage && number <= kLastPage;
}

const PageInfo &pageInfo(int number)
{
    Q_ASSERT(isPage(number));
    return kPages[number - kFirstPage];
}

QString dataFilePath(int number)
{
    const char *file = pageInfo(number).dataFile;
    return file ? QStringLiteral(":/catalog/") + QString::fromLatin1(file) : QString();
}

TwipRect clientArea(int page)
{
    return TwipRect{0, 0, pageInfo(page).clientWidth, kPageHeight};
}

TwipRect navigationButtonRect(int page, int index)
{
    const PageInfo &button = pageInfo(index);
    const int left = (index == Page::About && page == Page::Content) ? kContentPageAboutLeft : button.buttonLeft;
    return TwipRect{left, kNavigationTop, button.buttonWidth, kNavigationHeight};
}
