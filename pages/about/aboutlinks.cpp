#include "pages/about/aboutlinks.h"

#include "core/product.h"

namespace {

struct LinkRow {
    const char16_t *shownPath;
    const char16_t *openedPath;
    const char16_t *tip;
};

// Paths after the home-site address. The plug-in centre is shown under
// /plus/, but its pages live under /mall/plus/.
constexpr LinkRow kLinks[kAboutLinkCount] = {
    {u"", u"", u"Zuvi官方网站"},
    {u"/doc/", u"/doc/", u"Zuvi官方网站"},
    {u"/moban/", u"/moban/", u"Zuvi模板中心"},
    {u"/buy/", u"/buy/", u"Zuvi插件中心"},
    {u"/plus/", u"/mall/plus/", u"Zuvi插件中心"},
};

} // namespace

std::optional<AboutLink> aboutLink(qint16 index)
{
    if (index < 0 || index >= kAboutLinkCount)
        return std::nullopt;
    const LinkRow &row = kLinks[index];
    return AboutLink{homeSiteAddress() + QString::fromUtf16(row.shownPath),
                     QUrl(homeSiteAddress() + QString::fromUtf16(row.openedPath)),
                     QString::fromUtf16(row.tip)};
}
