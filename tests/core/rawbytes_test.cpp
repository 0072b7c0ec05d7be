// Arguments and file names as text that keeps every byte.
#include "core/files/rawbytes.h"
#include "tests/support/qtprinters.h"

#include <gtest/gtest.h>

namespace {

struct RawCase {
    const char *what;
    QByteArray bytes;
    QString text;
};

TEST(RawBytes, EveryByteComesBackAndUtf8ReadsAsItself)
{
    const RawCase cases[] = {
        {"ascii", "out/x.json", QStringLiteral("out/x.json")},
        {"utf-8", "标签.json", QStringLiteral("标签.json")},
        {"outside the basic plane", "\xF0\x9F\x98\x80", QString::fromUtf8("\xF0\x9F\x98\x80")},
        // In GB18030 标签 is B1 EA C7 A9, whose second half happens to be UTF-8 for ǩ.
        {"gb18030 标签", "\xB1\xEA\xC7\xA9.json", QString::fromUtf16(u"\xDCB1\xDCEA\u01E9.json")},
        // A valid lead byte then an invalid one: only the bytes that are not UTF-8 are kept raw.
        {"cut sequence", "\xE6\xA0" "a", QString::fromUtf16(u"\xDCE6\xDCA0" "a")},
        {"overlong slash", "\xC0\xAF", QString::fromUtf16(u"\xDCC0\xDCAF")},
        {"encoded surrogate", "\xED\xB2\x80", QString::fromUtf16(u"\xDCED\xDCB2\xDC80")},
        {"past U+10FFFF", "\xF4\x90\x80\x80", QString::fromUtf16(u"\xDCF4\xDC90\xDC80\xDC80")},
        {"latin-1 é then utf-8 é", "\xE9" "\xC3\xA9", QString::fromUtf16(u"\xDCE9\u00E9")},
    };
    for (const RawCase &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(textFromRawBytes(c.bytes), c.text);
        EXPECT_EQ(rawBytesFromText(c.text), c.bytes);
    }
    // Every byte value, alone and after a character outside the basic plane,
    // whose low surrogate must not be taken for a kept byte.
    for (int value = 0; value < 256; ++value) {
        const QByteArray bytes = QByteArray("\xF0\x9F\x98\x80") + char(value) + char(value);
        EXPECT_EQ(rawBytesFromText(textFromRawBytes(bytes)), bytes) << value;
    }
}

} // namespace
