// The pages of font files that FreeType maps and reads glyphs from leave the
// program's memory once a page is painted; what is read from the files
// afterwards is still what they hold.

#include "shell/fonts.h"
#include "shell/platform/fontfilepages.h"
#include "tests/support/pagefixture.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <sys/mman.h>

namespace {

// The resident KiB of the mappings whose file name ends in `suffix`, and how
// many such mappings there are, from /proc/self/smaps.
struct Residency
{
    int mappings = 0;
    qint64 kib = 0;
};

Residency residentMappings(const QByteArray &suffix)
{
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly))
        return {};
    Residency found;
    bool inside = false;
    for (const QByteArray &line : smaps.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 5 && fields[0].contains('-') && !fields[0].endsWith(':')) {
            inside = fields.size() >= 6 && fields.last().toLower().endsWith(suffix);
            found.mappings += inside;
        } else if (inside && fields.value(0) == "Rss:") {
            found.kib += fields.value(1).toLongLong();
        }
    }
    return found;
}

Residency residentFontFiles()
{
    Residency all;
    for (const QByteArray suffix : {".ttf", ".ttc", ".otf", ".otc", ".pfb", ".pfa"}) {
        const Residency one = residentMappings(suffix);
        all.mappings += one.mappings;
        all.kib += one.kib;
    }
    return all;
}

// A file of `size` bytes, each page telling its own number, mapped read-only
// and private as FreeType maps a font.
class MappedFile
{
public:
    MappedFile(const QString &path, qsizetype size)
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return;
        for (qsizetype page = 0; page < size / 4096; ++page)
            file.write(QByteArray(4096, char('a' + page % 26)));
        file.close();
        file.open(QIODevice::ReadOnly);
        void *mapped = ::mmap(nullptr, size_t(size), PROT_READ, MAP_PRIVATE, file.handle(), 0);
        if (mapped != MAP_FAILED) {
            m_data = static_cast<const char *>(mapped);
            m_size = size;
        }
    }
    ~MappedFile()
    {
        if (m_data)
            ::munmap(const_cast<char *>(m_data), size_t(m_size));
    }
    bool isMapped() const { return m_data != nullptr; }
    // Reads every page; true where each holds what was written.
    bool readsBack() const
    {
        bool same = true;
        for (qsizetype page = 0; page < m_size / 4096; ++page)
            same = same && m_data[page * 4096 + 17] == char('a' + page % 26);
        return same;
    }

private:
    const char *m_data = nullptr;
    qsizetype m_size = 0;
};

TEST(FontFilePages, AFontFileMappingIsGivenBackAndReadsTheSameAfterwardsOtherFilesStay)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const qsizetype size = 64 * 4096;
    const MappedFile font(dir.filePath(QStringLiteral("Face.TTC")), size);
    const MappedFile other(dir.filePath(QStringLiteral("data.bin")), size);
    ASSERT_TRUE(font.isMapped() && other.isMapped());
    ASSERT_TRUE(font.readsBack() && other.readsBack());
    const qint64 fontBefore = residentMappings("face.ttc").kib;
    ASSERT_GE(fontBefore, size / 1024);

    releaseFontFilePages();

    EXPECT_EQ(residentMappings("face.ttc").kib, 0);
    EXPECT_EQ(residentMappings("data.bin").kib, size / 1024) << "a file that is no font was given back too";
    // Read again from the page cache, the same bytes.
    EXPECT_TRUE(font.readsBack());
    EXPECT_EQ(residentMappings("face.ttc").kib, size / 1024);
}

using FontFilePagesOfAPage = PagesFixture;

// What may stay: a font engine that Qt's font cache drops and makes anew in
// the meantime reads the face's tables again, 64 KiB at a time. Kept, the
// pages of a page's characters come to megabytes.
constexpr qint64 kKeptAtMostKiB = 512;

TEST_F(FontFilePagesOfAPage, LeaveOncePageIsPaintedAndComeBackForNewCharacters)
{
    PageWindow *home = page(Page::Home);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(home));
    ASSERT_GT(residentFontFiles().mappings, 0) << "no font file is mapped: nothing to measure";
    EXPECT_TRUE(QTest::qWaitFor([] { return residentFontFiles().kib <= kKeptAtMostKiB; }))
        << residentFontFiles().kib << " KiB of font files kept after the home page was painted";

    const qint64 releasedKiB = residentFontFiles().kib;
    // Characters the page has not drawn yet are read from the files again,
    // and drawn.
    QImage image(64, 24, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(songFont(9));
    painter.drawText(image.rect(), QStringLiteral("鼴鼷齇"));
    painter.end();
    EXPECT_GT(residentFontFiles().kib, releasedKiB);
    int inked = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            inked += qGray(image.pixel(x, y)) < 128;
    }
    EXPECT_GT(inked, 20) << "the characters were not drawn";

    // A page shown for the first time gives them back once painted.
    goTo(Page::List);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(page(Page::List)));
    EXPECT_TRUE(QTest::qWaitFor([] { return residentFontFiles().kib <= kKeptAtMostKiB; }))
        << residentFontFiles().kib << " KiB of font files kept after the list page was painted";
}

} // namespace
