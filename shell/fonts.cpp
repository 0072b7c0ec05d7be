#include "shell/fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>

namespace {

QString &resolvedSongFamily()
{
    static QString family = requestedSongFamily();
    return family;
}

} // namespace

QString requestedSongFamily()
{
    return QStringLiteral("宋体");
}

QString songFamily()
{
    return resolvedSongFamily();
}

void installPageFonts()
{
    const QStringList installed = QFontDatabase::families();
    if (!installed.contains(requestedSongFamily())) {
        const QStringList songStyleFaces = {QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"),
                                            QStringLiteral("Noto Serif CJK SC")};
        QFont::insertSubstitutions(requestedSongFamily(), songStyleFaces);
        // The pages ask for the mapped face by its own name: a family that is
        // not installed sends every font lookup through fontconfig's fallback
        // search first.
        for (const QString &face : songStyleFaces) {
            if (installed.contains(face)) {
                resolvedSongFamily() = face;
                break;
            }
        }
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
