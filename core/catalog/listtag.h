#pragma once

#include <QString>
#include <QStringList>

// The list loop snippet of a column list page, built from the texts of the
// three parameter boxes exactly as they stand: title length, summary length
// and page size. A box whose text is empty or no number adds nothing; the
// attributes always come in the order titlelen, infolen, pagesize.
QStringList listTagSnippet(const QString &titleLength, const QString &summaryLength, const QString &pageSize);

struct TagBuilder;

// What listTagSnippet is made from; its inputs are the three boxes in the
// order above.
const TagBuilder &listTagBuilder();
