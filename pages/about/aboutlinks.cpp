#include "pages/about/aboutlinks.h"

#include "core/product.h"

namespace {

struct LinkRow {
    const char *name;
    const char16_t *shownPath;
    const char16_t *openedPath;
    const char16_t *tip;
};

// Paths after the home-site address. The plug-in centre is shown under
// /plus/, but its pages live under /mall/plus/.
constexpr LinkRow kLinks[kAboutLinkCount] = {
    {"homeSite", u"", u"", u"Zuvi官方网站"},
    {"helpManual", u"/doc/", u"/doc/", u"Zuvi官方网站"},
    {"templateCentre", u"/moban/", u"/moban/", u"Zuvi模板中心"},
    {"licencePurchase", u"/buy/", u"/buy/", u"Zuvi插件中心"},
    {"pluginCentre", u"/plus/", u"/mall/plus/", u"Zuvi插件中心"},
};

} // namespace

std::optional<AboutLink> aboutLink(qint16 index)
{
    if (index < 0 || index >= kAboutLinkCount)
        return std::nullopt;
    const LinkRow &row = kLinks[index];
    return AboutLink{QString::fromLatin1(row.name), homeSiteAddress() + QString::fromUtf16(row.shownPath),
                     QUrl(homeSiteAddress() + QString::fromUtf16(row.openedPath)),
                     QString::fromUtf16(row.tip)};
}
