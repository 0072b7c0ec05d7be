#include "pages/lists/listtag.h"

#include "shell/tagmechanism.h"

QStringList listTagSnippet(const QString &titleLen, const QString &infoLen, const QString &pageSize)
{
    return {
        QStringLiteral("{zuvi:list") + numericFragment(u"titlelen", titleLen)
            + numericFragment(u"infolen", infoLen) + numericFragment(u"pagesize", pageSize) + u'}',
        QStringLiteral("<a href='{$field.arcurl}'>{$field.title}</a>"),
        QStringLiteral("<span>{$field.seo_description}...</span>"),
        QStringLiteral("{/zuvi:list}"),
    };
}
