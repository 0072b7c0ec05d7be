#include "core/listtag.h"

#include "core/numeric.h"

QStringList listTagSnippet(const QString &titleLength, const QString &summaryLength, const QString &pageSize)
{
    return {
        QStringLiteral("{zuvi:list") + numericFragment(u"titlelen", titleLength)
            + numericFragment(u"infolen", summaryLength) + numericFragment(u"pagesize", pageSize) + u'}',
        QStringLiteral("<a href='{$field.arcurl}'>{$field.title}</a>"),
        QStringLiteral("<span>{$field.seo_description}...</span>"),
        QStringLiteral("{/zuvi:list}"),
    };
}
