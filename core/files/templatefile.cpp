#include "core/files/templatefile.h"

#include "core/files/localetext.h"
#include "core/files/rawbytes.h"

#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct ByteOrderMark {
    QByteArrayView bytes;
    QStringDecoder::Encoding encoding;
    const char *name;
};

// UTF-32LE's mark starts with UTF-16LE's, so it is looked for first.
const ByteOrderMark kMarks[] = {
    {QByteArrayView("\xFF\xFE\x00\x00", 4), QStringDecoder::Utf32LE, "UTF-32LE"},
    {QByteArrayView("\x00\x00\xFE\xFF", 4), QStringDecoder::Utf32BE, "UTF-32BE"},
    {QByteArrayView("\xFF\xFE", 2), QStringDecoder::Utf16LE, "UTF-16LE"},
    {QByteArrayView("\xFE\xFF", 2), QStringDecoder::Utf16BE, "UTF-16BE"},
};

struct WideEncoding {
    QStringDecoder::Encoding encoding;
    const char *name;
};

// `lonelySurrogates`: whether the decoder may pass a surrogate without its
// other half, as the UTF-16 one does. The UTF-8 one refuses an encoded
// surrogate itself; looking again would cost a quarter of reading a theme.
std::optional<QString> decodeStrictly(QStringDecoder decoder, QByteArrayView bytes, bool lonelySurrogates = true)
{
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || (lonelySurrogates && !text.isValidUtf16()))
        return std::nullopt;
    return text;
}

// Stateless: a sequence cut off at the end of the file is an error, not a
// character held back for more bytes that never come.
std::optional<QString> decodeStrictly(QStringDecoder::Encoding encoding, QByteArrayView bytes)
{
    return decodeStrictly(QStringDecoder(encoding, QStringDecoder::Flag::Stateless), bytes,
                          encoding != QStringDecoder::Utf8);
}

// UTF-16 or UTF-32 without a mark, told by where its NUL bytes fall: markup
// is mostly ASCII, whose characters in UTF-16LE are the byte and a NUL, in
// UTF-32BE three NULs and the byte. A NUL character of its own (a unit all
// NUL) is no text, so a file with one is none of them.
std::optional<WideEncoding> wideEncodingByNuls(QByteArrayView bytes)
{
    const QByteArrayView sample = bytes.first(std::min<qsizetype>(bytes.size(), 4096) & ~qsizetype(3));
    const auto at = [&](qsizetype i) { return static_cast<unsigned char>(sample[i]); };
    if (bytes.size() % 4 == 0 && !sample.isEmpty()) {
        bool little = true, big = true;
        for (qsizetype unit = 0; unit < sample.size(); unit += 4) {
            const bool nul = at(unit) == 0 && at(unit + 1) == 0 && at(unit + 2) == 0 && at(unit + 3) == 0;
            little = little && !nul && at(unit + 3) == 0 && at(unit + 2) <= 0x10;
            big = big && !nul && at(unit) == 0 && at(unit + 1) <= 0x10;
        }
        if (little)
            return WideEncoding{QStringDecoder::Utf32LE, "UTF-32LE"};
        if (big)
            return WideEncoding{QStringDecoder::Utf32BE, "UTF-32BE"};
    }
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    qsizetype lowFirst = 0, highFirst = 0;   // units of one byte and a NUL, in either order
    for (qsizetype unit = 0; unit < sample.size(); unit += 2) {
        if (at(unit) == 0 && at(unit + 1) == 0)
            return std::nullopt;
        lowFirst += at(unit) != 0 && at(unit + 1) == 0;
        highFirst += at(unit) == 0 && at(unit + 1) != 0;
    }
    // At least a quarter of the text ASCII, and the NULs on one side.
    const qsizetype units = sample.size() / 2;
    if (lowFirst * 4 >= units && highFirst * 4 < lowFirst)
        return WideEncoding{QStringDecoder::Utf16LE, "UTF-16LE"};
    if (highFirst * 4 >= units && lowFirst * 4 < highFirst)
        return WideEncoding{QStringDecoder::Utf16BE, "UTF-16BE"};
    return std::nullopt;
}

// The line of the byte at `offset`, counting CR LF, LF and CR alone as line
// ends: bytes both UTF-8 and GB18030 have only as line ends.
qsizetype lineOfByte(QByteArrayView bytes, qsizetype offset)
{
    qsizetype line = 1;
    for (qsizetype i = 0; i < offset; ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')))
            ++line;
    }
    return line;
}

void setError(QString *error, const QString &message)
{
    if (error)
        *error = message;
}

QString cannotRead(int error)
{
    return QStringLiteral("cannot read: ") + systemErrorText(error);
}

QString tooLarge()
{
    return QStringLiteral("cannot read: larger than %1, the most a template may be").arg(QLatin1String(kMaxTemplateSize));
}

// Reads to the end, or to one byte past the limit. `expected` is the size
// the file says it has, to read it in one go; a pipe says nothing.
std::optional<QByteArray> readAtMost(int descriptor, qint64 expected, QString *error)
{
    const qsizetype limit = kMaxTemplateBytes + 1;
    QByteArray bytes(std::clamp<qint64>(expected + 1, 64 * 1024, limit), Qt::Uninitialized);
    qsizetype used = 0;
    while (used < limit) {
        if (used == bytes.size())
            bytes.resize(std::min(used * 2, limit));
        const ssize_t got = ::read(descriptor, bytes.data() + used, size_t(bytes.size() - used));
        if (got > 0) {
            used += got;
        } else if (got == 0) {
            break;
        } else if (errno == EAGAIN) {
            // Standard input left non-blocking by whoever shares it.
            pollfd ready{descriptor, POLLIN, 0};
            ::poll(&ready, 1, -1);
        } else if (errno != EINTR) {
            setError(error, cannotRead(errno));
            return std::nullopt;
        }
    }
    if (used > kMaxTemplateBytes) {
        setError(error, tooLarge());
        return std::nullopt;
    }
    bytes.truncate(used);
    return bytes;
}

std::optional<DecodedTemplate> readAndDecode(int descriptor, qint64 expected, QString *error)
{
    const std::optional<QByteArray> bytes = readAtMost(descriptor, expected, error);
    if (!bytes)
        return std::nullopt;
    return decodeTemplate(*bytes, error);
}

} // namespace

QString irregularFileReason(unsigned mode)
{
    const char *kind = nullptr;
    if (S_ISDIR(mode))
        kind = "a folder";
    else if (S_ISFIFO(mode))
        kind = "a FIFO";
    else if (S_ISCHR(mode))
        kind = "a character device";
    else if (S_ISBLK(mode))
        kind = "a block device";
    else if (S_ISSOCK(mode))
        kind = "a socket";
    else if (!S_ISREG(mode))
        kind = "of an unknown kind";
    return kind ? QStringLiteral("not a regular file but %1").arg(QLatin1String(kind)) : QString();
}

std::optional<DecodedTemplate> decodeTemplate(const QByteArray &bytes, QString *error)
{
    for (const ByteOrderMark &mark : kMarks) {
        if (!bytes.startsWith(mark.bytes))
            continue;
        if (auto text = decodeStrictly(mark.encoding, QByteArrayView(bytes).sliced(mark.bytes.size())))
            return DecodedTemplate{*text, mark.name, {}};
        setError(error, QStringLiteral("cannot decode: not valid %1, though it starts with its byte order mark")
                            .arg(QLatin1String(mark.name)));
        return std::nullopt;
    }
    QByteArrayView view(bytes);
    const bool utf8Mark = view.startsWith("\xEF\xBB\xBF");
    if (utf8Mark)
        view = view.sliced(3);
    if (view.contains('\0')) {
        const std::optional<WideEncoding> wide = utf8Mark ? std::nullopt : wideEncodingByNuls(view);
        if (wide) {
            if (auto text = decodeStrictly(wide->encoding, view)) {
                return DecodedTemplate{*text, wide->name,
                                       QStringLiteral("read as %1, which its NUL bytes show (it has no byte order mark)")
                                           .arg(QLatin1String(wide->name))};
            }
        }
        setError(error, QStringLiteral("cannot decode: it holds NUL bytes, as binary files do"));
        return std::nullopt;
    }
    if (auto text = decodeStrictly(QStringDecoder::Utf8, view))
        return DecodedTemplate{*text, "UTF-8", {}};
    // The mark is not part of the text in GB18030 either: kept, its bytes
    // would read as two characters and a lead byte that swallows the next.
    if (auto text = decodeStrictly(QStringDecoder("GB18030", QStringDecoder::Flag::Stateless), view)) {
        const qsizetype line = lineOfByte(view, firstNonUtf8Byte(view));
        return DecodedTemplate{*text, "GB18030",
                               QStringLiteral("read as GB18030: not UTF-8 from line %1 on%2")
                                   .arg(line)
                                   .arg(utf8Mark ? QStringLiteral(", though it starts with UTF-8's byte order mark")
                                                 : QString())};
    }
    setError(error, QStringLiteral("cannot decode: neither UTF-8 nor GB18030"));
    return std::nullopt;
}

std::optional<DecodedTemplate> readTemplateFile(int descriptor, QString *error)
{
    return readAndDecode(descriptor, 0, error);
}

std::optional<DecodedTemplate> readTemplateFile(const QByteArray &file, QString *error)
{
    // Non-blocking, so that a FIFO put in the file's place opens at once
    // and is refused below instead of waiting for a writer.
    const int descriptor = ::open(file.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        setError(error, cannotRead(errno));
        return std::nullopt;
    }
    std::optional<DecodedTemplate> decoded;
    struct stat status;
    if (::fstat(descriptor, &status) != 0)
        setError(error, cannotRead(errno));
    else if (!S_ISREG(status.st_mode))
        setError(error, QStringLiteral("cannot read: ") + irregularFileReason(status.st_mode));
    else if (status.st_size > kMaxTemplateBytes)
        setError(error, tooLarge());
    else
        decoded = readAndDecode(descriptor, status.st_size, error);
    ::close(descriptor);
    return decoded;
}
