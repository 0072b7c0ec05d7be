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
    // The Song faces carry no hinting instructions of their own, so FreeType
    // would auto-hint them: analysing the outline of every Chinese character
    // before drawing it took a third of the start-up. At the pages' sizes the
    // characters look the same without it (as they do on dense screens,
    // where Qt never hints).
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}
