#include "core/catalog/listtag.h"

#include "core/catalog/tagbuilder.h"

const TagBuilder &listTagBuilder()
{
    static const TagBuilder builder{
        {textPart(QStringLiteral("{zuvi:list")),
         numberPart(QStringLiteral("titlelen"), QStringLiteral("TITLE_LENGTH"), QStringLiteral("30")),
         numberPart(QStringLiteral("infolen"), QStringLiteral("SUMMARY_LENGTH"), QStringLiteral("100")),
         numberPart(QStringLiteral("pagesize"), QStringLiteral("PAGE_SIZE"), QStringLiteral("10")),
         textPart(QStringLiteral("}"))},
        {QStringLiteral("<a href='{$field.arcurl}'>{$field.title}</a>"),
         QStringLiteral("<span>{$field.seo_description}...</span>"), QStringLiteral("{/zuvi:list}")},
    };
    return builder;
}

QStringList listTagSnippet(const QString &titleLength, const QString &summaryLength, const QString &pageSize)
{
    return listTagBuilder().lines({titleLength, summaryLength, pageSize});
}
