// The stride search the parser and the line index skip text with, forwards
// and backwards, against the plain search one character at a time: over the
// catalog's snippets and over odd texts that put the characters sought at
// the edges of a stride, hide their byte in a wider character, or lie around
// a CR LF split by a stride. And the line index built on it, against line
// breaks counted one by one.
#include "core/catalog/catalogtags.h"
#include "core/catalog/snippet.h"
#include "core/template/textposition.h"
#include "core/template/textscan.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

qsizetype plainNextOfEither(QStringView text, qsizetype from, char16_t first, char16_t second)
{
    while (from < text.size() && text[from] != first && text[from] != second)
        ++from;
    return from;
}

// Texts where the characters sought stand at every place around the
// eight-character strides, alone and in pairs, beside characters whose low
// byte is theirs (U+017B, U+7B3C) and beside surrogate pairs.
QStringList oddTexts()
{
    QStringList texts{QString(), u"{"_s, u"<"_s, u"\r\n"_s, u"\r"_s, u"\n\r"_s, u"abc"_s, u"\u017B\u7B3C\u3C7B\u0A0D"_s};
    const QString filler = u"ab\u4E2D\U0001F600xy"_s;   // nine units, an astral pair among them
    for (qsizetype length : {7, 8, 9, 15, 16, 17, 31, 33}) {
        for (const QString &sought : {u"{"_s, u"<"_s, u"<!--"_s, u"{{"_s, u"\r\n"_s, u"\n"_s, u"\r"_s, u"\u017B"_s}) {
            for (qsizetype at = 0; at <= length; ++at) {
                QString text = filler.repeated(length / filler.size() + 1).first(length);
                texts.append(text.insert(at, sought));
            }
        }
    }
    return texts;
}

QStringList snippets()
{
    QStringList texts;
    for (const CatalogTag &tag : catalogTags())
        texts.append(snippetText(tag.lines));
    return texts;
}

TEST(TextScan, FindsWhatThePlainSearchFinds)
{
    const QStringList texts = oddTexts() + snippets();
    const std::pair<char16_t, char16_t> pairs[] = {{u'{', u'<'}, {u'\n', u'\r'}, {u'\u017B', u'x'}};
    for (const QString &text : texts) {
        for (const auto &[first, second] : pairs) {
            for (qsizetype from = 0; from <= text.size(); ++from) {
                ASSERT_EQ(nextOfAny(text, from, first, second), plainNextOfEither(text, from, first, second))
                    << "from " << from << " in " << qPrintable(text);
            }
        }
    }
}

TEST(TextScan, FindsAnyOfSeveralWhatThePlainSearchFinds)
{
    // The sets the parser skips quoted values and placeholders with, and one
    // character alone.
    const QStringList texts = oddTexts() + snippets();
    for (const QString &text : texts) {
        for (qsizetype from = 0; from <= text.size(); ++from) {
            qsizetype plain = from;
            while (plain < text.size() && !QStringView(u"'\n\r{}").contains(text[plain]))
                ++plain;
            ASSERT_EQ(nextOfAny(text, from, u'\'', u'\n', u'\r', u'{', u'}'), plain)
                << "from " << from << " in " << qPrintable(text);
            plain = from;
            while (plain < text.size() && text[plain] != u'<')
                ++plain;
            ASSERT_EQ(nextOfAny(text, from, u'<'), plain) << "from " << from << " in " << qPrintable(text);
        }
    }
}

// Counted in 16-bit lanes summed every 65,535 steps of eight: texts around
// those sums' ends, where every character or none is counted.
TEST(TextScan, CountsWhatThePlainCountCounts)
{
    QStringList texts = oddTexts() + snippets();
    const qsizetype sum = 8 * 0xffff;
    for (const qsizetype length : {sum - 1, sum, sum + 1, sum + 15, 2 * sum + 9}) {
        texts.append(QString(length, u'{'));
        texts.append(QString(length, u'\u017B'));
        texts.append(u"ab{!"_s.repeated(length / 4 + 1).first(length));
    }
    for (const QString &text : texts) {
        const qsizetype plain = text.count(u'{') + text.count(u'!');
        ASSERT_EQ(countOfEither(text, u'{', u'!'), plain) << "in a text of " << text.size();
    }
}

TEST(TextScan, FindsBackwardsWhatThePlainSearchFinds)
{
    const QStringList texts = oddTexts() + snippets();
    for (const QString &text : texts) {
        for (const char16_t wanted : {u'{', u'\r', u'\u017B'}) {
            for (qsizetype before = 0; before <= text.size(); ++before) {
                qsizetype plain = before - 1;
                while (plain >= 0 && text[plain] != wanted)
                    --plain;
                ASSERT_EQ(lastOf(text, before, wanted), plain) << "before " << before << " in " << qPrintable(text);
            }
        }
    }
}

TEST(TextScan, LineIndexCountsEveryLineBreak)
{
    const QStringList texts = oddTexts() + snippets();
    for (const QString &text : texts) {
        const LineIndex lines(text);
        qsizetype line = 1;
        qsizetype column = 1;
        for (qsizetype i = 0; i <= text.size(); ++i) {
            const TextPosition at = lines.position(i, ColumnUnit::Utf16);
            ASSERT_EQ(at.line, line) << "offset " << i << " in " << qPrintable(text);
            ASSERT_EQ(at.column, column) << "offset " << i << " in " << qPrintable(text);
            const bool crlf = i + 1 < text.size() && text[i] == u'\r' && text[i + 1] == u'\n';
            if (i < text.size() && (text[i] == u'\n' || (text[i] == u'\r' && !crlf))) {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
        EXPECT_EQ(lines.lineCount(), line) << qPrintable(text);
    }
}

} // namespace
