// The Song face the pages ask for: an installed Song-style face where there
// is one, and where there is none any Chinese face and a line naming the
// package to install.

#include "shell/fonts.h"
#include "tests/support/qtprinters.h"

#include <QFontInfo>
#include <QStringList>
#include <gtest/gtest.h>

#include <functional>

namespace {

// "宋体" resolves to an installed Song-style face, not a fallback, and a
// font that asks for "宋体" by name gets the same face.
TEST(PageFonts, SongResolvesToAnInstalledSongStyleFace)
{
    EXPECT_TRUE(QFontInfo(songFont(10.5)).family().contains(QStringLiteral("UMing")))
        << QFontInfo(songFont(10.5)).family().toStdString();
    EXPECT_EQ(QFontInfo(QFont(requestedSongFamily(), 9)).family(), QFontInfo(songFont(9)).family());
}

// Without the Song-style face the pages fall back to any Chinese face, and
// the one line printed at start names the package to install.
TEST(PageFonts, AMissingSongFaceFallsBackToAChineseFaceAndNamesThePackage)
{
    const auto none = [] { return QStringList(); };
    const auto chinese = [] { return QStringList{QStringLiteral("Droid Sans Fallback")}; };
    struct Case {
        QStringList installed;
        std::function<QStringList()> chinese;
        QString family;
        bool songStyle;
    } cases[] = {
        {{QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN")}, chinese, QStringLiteral("宋体"), true},
        {{QStringLiteral("DejaVu Sans"), QStringLiteral("AR PL UMing CN")}, chinese, QStringLiteral("AR PL UMing CN"), true},
        {{QStringLiteral("Noto Serif CJK SC")}, chinese, QStringLiteral("Noto Serif CJK SC"), true},
        {{QStringLiteral("DejaVu Sans")}, chinese, QStringLiteral("Droid Sans Fallback"), false},
        {{QStringLiteral("DejaVu Sans")}, none, QString(), false},
    };
    for (const Case &c : cases) {
        const SongFace face = chooseSongFace(c.installed, c.chinese);
        EXPECT_EQ(face.family, c.family) << c.installed.join(u',').toStdString();
        EXPECT_EQ(face.songStyle, c.songStyle) << c.installed.join(u',').toStdString();
        if (!face.songStyle) {
            const QString message = missingSongFaceMessage(face);
            EXPECT_TRUE(message.contains(QStringLiteral("fonts-arphic-uming"))) << message.toStdString();
            EXPECT_FALSE(message.contains(u'\n'));
            EXPECT_EQ(message.contains(QStringLiteral("Droid Sans Fallback")), !face.family.isEmpty());
        }
    }
    // The Chinese faces are not even asked for while a Song-style face is there.
    bool asked = false;
    chooseSongFace({QStringLiteral("AR PL UMing CN")}, [&asked] { asked = true; return QStringList(); });
    EXPECT_FALSE(asked);
}

} // namespace
