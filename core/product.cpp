#include "core/product.h"

QString programName()
{
    return QStringLiteral("zuvi-taggen");
}

QString productVersion()
{
    return QStringLiteral(ZUVI_VERSION);
}

QString windowCaption()
{
    return QStringLiteral("ZuviCMS标签生成器V") + productVersion();
}

QString homeSiteAddress()
{
    return QStringLiteral("https://www.zuvicms.com");
}
