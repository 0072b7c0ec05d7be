#pragma once

#include <QString>

// The vendor's home site. Snippets of the visual editing page link to it and
// the about page builds its addresses from it; written without a trailing
// slash so that paths can be appended.
inline QString homeSiteAddress()
{
    return QStringLiteral("https://www.zuvicms.com");
}
