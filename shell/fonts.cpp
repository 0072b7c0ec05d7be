#include "shell/fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>

QString songFamily()
{
    return QStringLiteral("宋体");
}

void installPageFonts()
{
    if (!QFontDatabase::families().contains(songFamily())) {
        QFont::insertSubstitutions(songFamily(), {QStringLiteral("AR PL UMing CN"),
                                                  QStringLiteral("AR PL UMing TW"),
                                                  QStringLiteral("Noto Serif CJK SC")});
    }
    QGuiApplication::setFont(songFont(9));
}

QFont songFont(qreal pointSize, bool bold)
{
    QFont font(songFamily());
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}
