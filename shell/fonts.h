#pragma once

#include <QFont>
#include <QStringList>

#include <functional>

// The page texts are set in "宋体" (SimSun). Where that face is missing it is
// mapped, once at start-up, to a Song-style CJK face from the system, and it
// becomes the application's font at 9 pt for controls without one of their own.
void installPageFonts();

// "宋体" itself, as the pages ask for it.
QString requestedSongFamily();
// The family the pages are drawn in: "宋体" where it is installed, otherwise
// the face it was mapped to by installPageFonts().
QString songFamily();
QFont songFont(qreal pointSize);
// The output box's face: Latin letters, digits and signs in a monospace code
// face whose l, 1 and I, and 0 and O, differ; Chinese, which the code face
// lacks, in the Song face at the same size (Qt falls back character by
// character along the font's families).
QString codeFamily();
QFont codeFont(qreal pointSize);

// The face the pages are drawn in: "宋体" itself, else a Song-style face
// (Debian's "AR PL UMing CN" first), else any face that covers Simplified
// Chinese (asked for only then), else none (an empty family).
struct SongFace {
    QString family;
    bool songStyle = false;
};
SongFace chooseSongFace(const QStringList &installed, const std::function<QStringList()> &chineseFamilies);
// The one line printed at start when no Song-style face is installed.
QString missingSongFaceMessage(const SongFace &face);
