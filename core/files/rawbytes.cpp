#include "core/files/rawbytes.h"

#include <QStringEncoder>

namespace {

constexpr char16_t kEscapeBase = 0xDC00;   // + the byte, for bytes 0x80 to 0xFF

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at `at`, or 0. Overlong forms,
// surrogates and code points past U+10FFFF are not valid.
qsizetype validSequenceLength(QByteArrayView bytes, qsizetype at)
{
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[at + i]); };
    const qsizetype left = bytes.size() - at;
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    unsigned char low = 0x80, high = 0xBF;   // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (left < length || byte(1) < low || byte(1) > high)
        return 0;
    for (qsizetype i = 2; i < length; ++i) {
        if (!isContinuation(byte(i)))
            return 0;
    }
    return length;
}

bool isEscape(QStringView text, qsizetype at)
{
    const char16_t unit = text[at].unicode();
    return unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF
           && (at == 0 || !text[at - 1].isHighSurrogate());
}

} // namespace

QString textFromRawBytes(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    qsizetype runStart = 0;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const qsizetype length = validSequenceLength(bytes, at);
        if (length > 0) {
            at += length;
            continue;
        }
        text += QString::fromUtf8(bytes.sliced(runStart, at - runStart));
        text += QChar(char16_t(kEscapeBase + static_cast<unsigned char>(bytes[at])));
        runStart = ++at;
    }
    text += QString::fromUtf8(bytes.sliced(runStart));
    return text;
}

QByteArray rawBytesFromText(QStringView text, QStringEncoder *encoder)
{
    const auto encode = [encoder](QStringView run) -> QByteArray {
        return encoder ? QByteArray(encoder->encode(run)) : run.toUtf8();
    };
    QByteArray bytes;
    bytes.reserve(text.size());
    qsizetype runStart = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (!isEscape(text, at))
            continue;
        bytes += encode(text.sliced(runStart, at - runStart));
        bytes += char(text[at].unicode() - kEscapeBase);
        runStart = at + 1;
    }
    bytes += encode(text.sliced(runStart));
    return bytes;
}

qsizetype firstNonUtf8Byte(QByteArrayView bytes)
{
    qsizetype at = 0;
    while (at < bytes.size()) {
        const qsizetype length = validSequenceLength(bytes, at);
        if (length == 0)
            return at;
        at += length;
    }
    return at;
}
