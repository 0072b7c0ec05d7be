// A template's bytes read as text: every encoding an editor saves templates
// in, what is no text, and inputs that are no file of bounded size.
#include "core/files/templatefile.h"
#include "tests/support/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Markup, Chinese, a character outside the basic plane and CR LF: what a
// decoding gets wrong shows in one of them.
const QString kText = u"{zuvi:arclist row='10'}\n<p>标签 😀</p>\r\n{/zuvi:arclist}\n"_s;

QByteArray encoded(const char *encoding, const QString &text = kText)
{
    QStringEncoder encoder(encoding);
    return encoder.encode(text);
}

QByteArray encoded(QStringEncoder::Encoding encoding, const QString &text = kText)
{
    QStringEncoder encoder(encoding);
    return encoder.encode(text);
}

struct DecodeCase {
    const char *what;
    QByteArray bytes;
    const char *encoding;   // nullptr: refused
    const char *note;       // a part of the note; "" for none
    const char *error;      // a part of the error where refused
};

TEST(TemplateFile, EveryEncodingAnEditorSavesAndWhatIsNoText)
{
    const QByteArray utf8Mark("\xEF\xBB\xBF");
    // One GB18030 character in a UTF-8 file: the whole reads as GB18030.
    const QByteArray mixed = u"<p>标签</p>\n\n"_s.toUtf8() + encoded("GB18030", u"{zuvi:else /}列"_s);
    const DecodeCase cases[] = {
        {"UTF-8", kText.toUtf8(), "UTF-8", "", ""},
        {"UTF-16LE with its mark", "\xFF\xFE" + encoded(QStringEncoder::Utf16LE), "UTF-16LE", "", ""},
        {"UTF-16BE with its mark", "\xFE\xFF" + encoded(QStringEncoder::Utf16BE), "UTF-16BE", "", ""},
        {"UTF-32LE with its mark", QByteArray("\xFF\xFE\0\0", 4) + encoded(QStringEncoder::Utf32LE), "UTF-32LE", "", ""},
        {"UTF-32BE with its mark", QByteArray("\0\0\xFE\xFF", 4) + encoded(QStringEncoder::Utf32BE), "UTF-32BE", "", ""},
        {"UTF-16LE without a mark", encoded(QStringEncoder::Utf16LE), "UTF-16LE", "read as UTF-16LE", ""},
        {"UTF-16BE without a mark", encoded(QStringEncoder::Utf16BE), "UTF-16BE", "no byte order mark", ""},
        {"UTF-32LE without a mark", encoded(QStringEncoder::Utf32LE), "UTF-32LE", "read as UTF-32LE", ""},
        {"UTF-32BE without a mark", encoded(QStringEncoder::Utf32BE), "UTF-32BE", "read as UTF-32BE", ""},
        {"GB18030 after UTF-8's mark", utf8Mark + encoded("GB18030"), "GB18030", "UTF-8's byte order mark", ""},
        {"GB18030", encoded("GB18030"), "GB18030", "read as GB18030: not UTF-8 from line 2", ""},
        {"one GB18030 character in UTF-8 says where", mixed, "GB18030", "not UTF-8 from line 3 on", ""},
        {"a NUL in UTF-8", QByteArray("{zuvi:else /}\0x", 15), nullptr, "", "cannot decode: it holds NUL bytes"},
        {"a NUL after UTF-8's mark", utf8Mark + encoded(QStringEncoder::Utf16LE), nullptr, "", "NUL bytes"},
        {"a PNG", QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x06\0\0\0", 29), nullptr, "", "NUL bytes"},
        {"UTF-16 cut short", encoded(QStringEncoder::Utf16LE).chopped(1), nullptr, "", "NUL bytes"},
        {"a lone surrogate after UTF-16LE's mark", QByteArray("\xFF\xFE<\0\x00\xD8>\0", 8), nullptr, "",
         "cannot decode: not valid UTF-16LE, though it starts with its byte order mark"},
        {"neither UTF-8 nor GB18030", QByteArray("ok \xFF\xFF", 5), nullptr, "", "neither UTF-8 nor GB18030"},
        {"a surrogate encoded in UTF-8", QByteArray("ok \xED\xA0\x80", 6), nullptr, "", "neither UTF-8 nor GB18030"},
        {"a surrogate pair encoded in UTF-8", QByteArray("ok \xED\xA0\x80\xED\xB0\x80", 9), nullptr, "",
         "neither UTF-8 nor GB18030"},
    };
    for (const DecodeCase &c : cases) {
        SCOPED_TRACE(c.what);
        QString error;
        const std::optional<DecodedTemplate> decoded = decodeTemplate(c.bytes, &error);
        if (!c.encoding) {
            EXPECT_FALSE(decoded) << decoded->encoding;
            EXPECT_TRUE(error.contains(QLatin1String(c.error))) << error.toStdString();
            continue;
        }
        ASSERT_TRUE(decoded) << error.toStdString();
        EXPECT_STREQ(decoded->encoding, c.encoding);
        if (c.bytes != mixed) {
            EXPECT_EQ(decoded->text, kText) << "positions are counted in this text";
        }
        if (*c.note) {
            EXPECT_TRUE(decoded->note.contains(QLatin1String(c.note))) << decoded->note.toStdString();
        } else {
            EXPECT_TRUE(decoded->note.isEmpty()) << decoded->note.toStdString();
        }
    }
}

// A file of `size` bytes of text.
void writeText(const QString &path, qint64 size)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray block(1 << 20, 'a');
    for (qint64 left = size; left > 0; left -= block.size())
        ASSERT_EQ(file.write(block.constData(), std::min<qint64>(left, block.size())), std::min<qint64>(left, block.size()));
}

TEST(TemplateFile, OnlyRegularFilesUpToTheLimitAreRead)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray folder = QFile::encodeName(dir.path());
    writeText(dir.filePath(u"largest.htm"_s), kMaxTemplateBytes);
    writeText(dir.filePath(u"too-large.htm"_s), kMaxTemplateBytes + 1);
    ASSERT_EQ(::mkfifo(folder + "/fifo.htm", 0600), 0);
    const struct {
        QByteArray file;
        const char *error;   // "" where it is read
    } cases[] = {
        {folder + "/largest.htm", ""},
        {folder + "/too-large.htm", "cannot read: larger than 16 MiB, the most a template may be"},
        // Opened non-blocking: refused at once, no writer waited for.
        {folder + "/fifo.htm", "cannot read: not a regular file but a FIFO"},
        {"/dev/zero", "cannot read: not a regular file but a character device"},
        {folder + "/absent.htm", "cannot read: No such file or directory"},
        {folder, "cannot read: not a regular file but a folder"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        QString error;
        const std::optional<DecodedTemplate> decoded = readTemplateFile(c.file, &error);
        EXPECT_EQ(error, QLatin1String(c.error));
        EXPECT_EQ(bool(decoded), !*c.error);
    }
}

TEST(TemplateFile, StandardInputIsReadToTheLimitAndNoFurther)
{
    // A pipe, as a shell's `cat x.htm |` gives it.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const QByteArray text = encoded("GB18030");
    ASSERT_EQ(::write(ends[1], text.constData(), size_t(text.size())), text.size());
    ::close(ends[1]);
    QString error;
    const std::optional<DecodedTemplate> piped = readTemplateFile(ends[0], &error);
    ::close(ends[0]);
    ASSERT_TRUE(piped) << error.toStdString();
    EXPECT_EQ(piped->text, kText);

    // `check - < /dev/zero`: it never ends, and nothing past the limit is read.
    const int zero = ::open("/dev/zero", O_RDONLY);
    ASSERT_GE(zero, 0);
    EXPECT_FALSE(readTemplateFile(zero, &error));
    EXPECT_EQ(error, u"cannot read: larger than 16 MiB, the most a template may be"_s);
    ::close(zero);

    // A regular file as standard input that is too large is read one byte past the limit.
    QTemporaryDir dir;
    writeText(dir.filePath(u"large.htm"_s), kMaxTemplateBytes + 1000);
    const int large = ::open(QFile::encodeName(dir.filePath(u"large.htm"_s)).constData(), O_RDONLY);
    ASSERT_GE(large, 0);
    EXPECT_FALSE(readTemplateFile(large, &error));
    EXPECT_EQ(::lseek(large, 0, SEEK_CUR), kMaxTemplateBytes + 1);
    ::close(large);
}

} // namespace
