#include "core/catalog/snippet.h"

QString snippetText(const QStringList &lines)
{
    static const QString lineEnd = QStringLiteral("\r\n");
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + lineEnd.size();
    QString text;
    text.reserve(size);
    for (const QString &line : lines) {
        text += line;
        text += lineEnd;
    }
    return text;
}
