#include "core/files/localetext.h"

#include "core/files/rawbytes.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cstring>
#include <optional>
#include <langinfo.h>

namespace {

// The locale's character set, as ICU knows it; empty for UTF-8, for the C
// locale's ASCII, which Qt and this tool read as UTF-8, and for a set ICU
// does not know, where UTF-8 is the best guess.
QByteArray localeCodeset()
{
    const QByteArray codeset(nl_langinfo(CODESET));
    const QByteArray folded = codeset.toUpper();
    if (folded == "UTF-8" || folded == "UTF8" || folded == "ANSI_X3.4-1968" || folded == "ASCII"
        || !QStringDecoder(codeset.constData()).isValid())
        return {};
    return codeset;
}

// Stateless: a character cut off at the end is an error, not held back. A
// byte order mark at the start of a name is part of it, not a header.
QStringDecoder decoderFor(const QByteArray &codeset)
{
    const auto flags = QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom;
    return codeset.isEmpty() ? QStringDecoder(QStringDecoder::Utf8, flags) : QStringDecoder(codeset.constData(), flags);
}

std::optional<QString> decodeWhole(const QByteArray &codeset, QByteArrayView bytes)
{
    QStringDecoder decoder = decoderFor(codeset);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

QString localeText(QByteArrayView bytes)
{
    const QByteArray codeset = localeCodeset();
    if (std::optional<QString> text = decodeWhole(codeset, bytes))
        return *text;
    // Character by character: the shortest run of bytes that is one
    // character, or the first byte escaped. No character of an encoding a
    // locale uses is longer than four bytes.
    QString text;
    qsizetype at = 0;
    while (at < bytes.size()) {
        qsizetype length = 1;
        std::optional<QString> character;
        for (; length <= 4 && at + length <= bytes.size(); ++length) {
            character = decodeWhole(codeset, bytes.sliced(at, length));
            if (character && !character->isEmpty())
                break;
        }
        if (character && !character->isEmpty()) {
            text += *character;
            at += length;
        } else {
            text += QString::asprintf("\\x%02X", static_cast<unsigned char>(bytes[at]));
            ++at;
        }
    }
    return text;
}

QByteArray localeBytes(QStringView text)
{
    const QByteArray codeset = localeCodeset();
    if (codeset.isEmpty())
        return rawBytesFromText(text);
    QStringEncoder encoder(codeset.constData());
    return rawBytesFromText(text, &encoder);
}

QString systemErrorText(int error)
{
    char buffer[256];
    return localeText(strerror_r(error, buffer, sizeof buffer));
}
