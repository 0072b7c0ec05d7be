// The writer's failures part way, which the built program cannot be made to
// meet on demand: a file-size limit makes a write fail after its start.
#include "core/files/outputfile.h"
#include "tests/support/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Writes past `limit` bytes fail with EFBIG while it lives.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lower = m_old;
        lower.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old;
    void (*m_oldHandler)(int);
};

class OutputFileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("out.json"));
    }
    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); }

    QTemporaryDir m_dir;
    QString m_path;
    const QByteArray m_bytes = QByteArray(256 * 1024, 'n');
};

TEST_F(OutputFileTest, AReplacementThatFailsPartWayLeavesTheOldFileAndNoTemporary)
{
    writeFile(m_path, "old");
    QString error;
    {
        const FileSizeLimit limit(64 * 1024);
        error = OutputFile::writeWhole(QFile::encodeName(m_path), m_bytes);
    }
    EXPECT_EQ(error, QStringLiteral("cannot write %1: File too large").arg(m_path));
    EXPECT_EQ(readFile(m_path), QByteArray("old"));
    EXPECT_EQ(files(), QStringList{QStringLiteral("out.json")});
}

TEST_F(OutputFileTest, AFileWrittenInPlaceThatFailsPartWayIsLeftEmpty)
{
    writeFile(m_path, "old");
    const QString link = m_dir.filePath(QStringLiteral("link.json"));
    ASSERT_EQ(::link(QFile::encodeName(m_path).constData(), QFile::encodeName(link).constData()), 0);
    QString error;
    {
        const FileSizeLimit limit(64 * 1024);
        error = OutputFile::writeWhole(QFile::encodeName(link), m_bytes);
    }
    EXPECT_EQ(error, QStringLiteral("cannot write %1: File too large").arg(link));
    EXPECT_EQ(readFile(m_path), QByteArray()) << "the hard link is written through";
    EXPECT_EQ(files(), (QStringList{QStringLiteral("link.json"), QStringLiteral("out.json")}));
}

// A command writes in parts and may stop before the end: what is not
// committed never takes the file's place, whether the file is replaced or,
// having another hard link, written in place.
TEST_F(OutputFileTest, OutputWrittenInPartsReachesTheFileOnlyWhenCommitted)
{
    for (const bool hardLinked : {false, true}) {
        SCOPED_TRACE(hardLinked ? "written in place" : "replaced");
        writeFile(m_path, "old");
        const QString link = m_dir.filePath(QStringLiteral("link.json"));
        QFile::remove(link);
        if (hardLinked) {
            ASSERT_EQ(::link(QFile::encodeName(m_path).constData(), QFile::encodeName(link).constData()), 0);
        }
        const QStringList names = files();
        {
            OutputFile file(QFile::encodeName(m_path));
            ASSERT_TRUE(file.open());
            ASSERT_TRUE(file.write("first "));
            ASSERT_TRUE(file.write("second"));
            EXPECT_EQ(readFile(m_path), QByteArray("old"));
        }
        EXPECT_EQ(readFile(m_path), QByteArray("old"));
        EXPECT_EQ(files(), names);

        OutputFile file(QFile::encodeName(m_path));
        ASSERT_TRUE(file.open() && file.write("first ") && file.write("second"));
        EXPECT_EQ(readFile(m_path), QByteArray("old"));
        ASSERT_TRUE(file.commit()) << file.errorString().toStdString();
        EXPECT_EQ(readFile(m_path), QByteArray("first second"));
        EXPECT_EQ(files(), names);
        if (hardLinked) {
            EXPECT_EQ(readFile(link), QByteArray("first second"));
        }
    }
}

} // namespace
