#include "shell/platform/fontfilepages.h"

#include <QByteArray>
#include <QFile>

#include <sys/mman.h>

namespace {

bool isFontFile(const QByteArray &path)
{
    const QByteArray lower = path.toLower();
    for (const char *suffix : {".ttf", ".ttc", ".otf", ".otc", ".pfb", ".pfa"}) {
        if (lower.endsWith(suffix))
            return true;
    }
    return false;
}

} // namespace

void releaseFontFilePages()
{
#if defined(Q_OS_LINUX) && defined(MADV_DONTNEED)
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return;
    // "7f9472a00000-7f9473e15000 r--p 00000000 fe:00 1065430   /usr/share/fonts/.../uming.ttc"
    for (const QByteArray &line : maps.readAll().split('\n')) {
        const qsizetype slash = line.indexOf('/');
        const qsizetype dash = line.indexOf('-');
        const qsizetype space = line.indexOf(' ');
        if (slash < 0 || dash < 0 || space < dash || !isFontFile(line.sliced(slash)))
            continue;
        // Read-only and private: FreeType's view of the file, with no change
        // of the program's in it that this would undo.
        if (line.sliced(space + 1, 4) != "r--p")
            continue;
        bool startRead = false;
        bool endRead = false;
        const quintptr start = line.first(dash).toULongLong(&startRead, 16);
        const quintptr end = line.sliced(dash + 1, space - dash - 1).toULongLong(&endRead, 16);
        if (startRead && endRead && end > start)
            ::madvise(reinterpret_cast<void *>(start), end - start, MADV_DONTNEED);
    }
#endif
}
