#include "shell/fonts.h"

#include "shell/platform/fontconfiguration.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>

#include <cstdio>

namespace {

QString &resolvedSongFamily()
{
    static QString family = requestedSongFamily();
    return family;
}

// "AR PL UMing" carries bitmaps of its characters at 11 to 16 pixels; 9 pt
// and 10.5 pt are 12 and 14 pixels at 96 dpi. Qt's FreeType engine draws
// these bitmaps for a font that is not antialiased: solid strokes in the text
// colour, a red note in pure red. Antialiased, the thin outlines of the face
// come out grey and soft at these sizes, and a coloured note pale.
bool drawnFromBitmaps(qreal pointSize)
{
    if (!songFamily().startsWith(QStringLiteral("AR PL UMing")) || !qGuiApp)
        return false;
    // On a dense screen the characters are drawn at twice the size or more,
    // where the face has no bitmaps; there the antialiased outlines are sharp.
    // The highest ratio of all screens decides, since a window may move.
    if (qGuiApp->devicePixelRatio() > 1)
        return false;
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInchY() : 96;
    const int pixels = qRound(pointSize * dpi / 72);
    return pixels >= 11 && pixels <= 16;
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

QStringList songStyleFaces()
{
    return {QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"), QStringLiteral("Noto Serif CJK SC")};
}

SongFace chooseSongFace(const QStringList &installed, const std::function<QStringList()> &chineseFamilies)
{
    if (installed.contains(requestedSongFamily()))
        return {requestedSongFamily(), true};
    for (const QString &face : songStyleFaces()) {
        if (installed.contains(face))
            return {face, true};
    }
    // Any face that covers Chinese beats boxes of missing glyphs.
    const QStringList chinese = chineseFamilies();
    return {chinese.value(0), false};
}

QString missingSongFaceMessage(const SongFace &face)
{
    QString message = QStringLiteral("zuvi-taggen: the Song-style face \"%1\" is not installed; "
                                     "install the Debian package fonts-arphic-uming")
                          .arg(songStyleFaces().first());
    if (face.family.isEmpty())
        message += QStringLiteral(" (no Chinese face is installed at all: captions cannot be shown)");
    else
        message += QStringLiteral(" (using \"%1\" meanwhile)").arg(face.family);
    return message;
}

void installPageFonts()
{
    awaitFontConfiguration();
    const SongFace face = chooseSongFace(QFontDatabase::families(),
                                         [] { return QFontDatabase::families(QFontDatabase::SimplifiedChinese); });
    if (!face.songStyle)
        std::fprintf(stderr, "%s\n", qPrintable(missingSongFaceMessage(face)));
    if (face.family != requestedSongFamily()) {
        QFont::insertSubstitutions(requestedSongFamily(), songStyleFaces());
        // The pages ask for the mapped face by its own name: a family that is
        // not installed sends every font lookup through fontconfig's fallback
        // search first.
        if (!face.family.isEmpty())
            resolvedSongFamily() = face.family;
    }
    QGuiApplication::setFont(songFont(9));
}

QFont songFont(qreal pointSize)
{
    QFont font(songFamily());
    font.setPointSizeF(pointSize);
    // The Song faces carry no hinting instructions of their own, so FreeType
    // would auto-hint them: analysing the outline of every Chinese character
    // before drawing it took a third of the start-up. The bitmaps drawn at
    // 1x need no hinting; the outlines drawn on dense screens look the same
    // without it.
    font.setHintingPreference(QFont::PreferNoHinting);
    // Chinese, Latin letters, digits and signs need none of OpenType's
    // shaping rules, and the faces have no kerning or ligatures that change
    // them: the pages and the output box come out the same pixels without
    // HarfBuzz, which took a fifth of writing a long snippet into the box.
    // Scripts that need shaping (typed into a box) are still shaped.
    QFont::StyleStrategy strategy = QFont::PreferNoShaping;
    if (drawnFromBitmaps(pointSize))
        strategy = QFont::StyleStrategy(strategy | QFont::NoAntialias);
    font.setStyleStrategy(strategy);
    return font;
}

QString codeFamily()
{
    // Debian's fonts-dejavu-core.
    return QStringLiteral("DejaVu Sans Mono");
}

QFont codeFont(qreal pointSize)
{
    QFont font = songFont(pointSize);
    font.setFamilies({codeFamily(), songFamily()});
    // Where the Song face comes from its bitmaps (not antialiased), the code
    // face is not antialiased either: beside solid black characters its
    // antialiased strokes look grey and soft, and thin coloured strokes pale.
    // Aliased, its own hinting instructions fit the strokes to whole pixels;
    // unhinted they come out uneven. Bitmap glyphs are not hinted, so the
    // Song face costs nothing more.
    if (font.styleStrategy() & QFont::NoAntialias)
        font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}
