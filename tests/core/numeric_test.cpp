#include "core/catalog/numeric.h"
#include "core/catalog/snippet.h"
#include "tests/support/qtprinters.h"

#include <gtest/gtest.h>

namespace {

struct NumericCase {
    const char16_t *text;
    bool numeric;
    friend void PrintTo(const NumericCase &c, std::ostream *os)
    {
        *os << '"' << QString::fromUtf16(c.text).toStdString() << "\" -> " << c.numeric;
    }
};

class NumericTest : public testing::TestWithParam<NumericCase> {};

TEST_P(NumericTest, RecognisesNumbersAsTyped)
{
    const QString text = QString::fromUtf16(GetParam().text);
    EXPECT_EQ(isNumeric(text), GetParam().numeric) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Forms, NumericTest, testing::Values(
    NumericCase{u"12", true}, NumericCase{u" 12", true}, NumericCase{u"12  ", true},
    NumericCase{u"-3", true}, NumericCase{u"+7", true}, NumericCase{u"1.5", true},
    NumericCase{u"1.", true}, NumericCase{u".5", true}, NumericCase{u"+.5", true},
    NumericCase{u"1e5", true}, NumericCase{u"1E+5", true}, NumericCase{u"2.5e-3", true},
    NumericCase{u"0", true},
    NumericCase{u"", false}, NumericCase{u"   ", false}, NumericCase{u"abc", false},
    NumericCase{u".", false}, NumericCase{u"-", false}, NumericCase{u"1e", false},
    NumericCase{u"1e+", false}, NumericCase{u"e5", false}, NumericCase{u"--1", false},
    NumericCase{u"+-1", false}, NumericCase{u"1.2.3", false}, NumericCase{u"3a", false},
    NumericCase{u"1 2", false}, NumericCase{u"１２", false}, NumericCase{u"0x1F", false},
    NumericCase{u"1,000", false}, NumericCase{u"\t12", false}, NumericCase{u"12\n", false}));

TEST(NumericFragment, KeepsTheTextExactlyAsTyped)
{
    EXPECT_EQ(numericFragment(u"titlelen", QString()), QString());
    EXPECT_EQ(numericFragment(u"titlelen", QStringLiteral("abc")), QString());
    EXPECT_EQ(numericFragment(u"titlelen", QStringLiteral("12")), QStringLiteral(" titlelen='12'"));
    EXPECT_EQ(numericFragment(u"titlelen", QStringLiteral(" 12")), QStringLiteral(" titlelen=' 12'"));
    EXPECT_EQ(numericFragment(u"titlelen", QStringLiteral("-3")), QStringLiteral(" titlelen='-3'"));
    EXPECT_EQ(numericFragment(u"row", QStringLiteral("1.5")), QStringLiteral(" row='1.5'"));
    EXPECT_EQ(numericFragment(u"row", QStringLiteral("1e5 ")), QStringLiteral(" row='1e5 '"));
}

TEST(SnippetText, EndsEveryLineWithCrLfTheLastOneToo)
{
    EXPECT_EQ(snippetText({}), QString());
    EXPECT_EQ(snippetText({QStringLiteral("a")}), QStringLiteral("a\r\n"));
    EXPECT_EQ(snippetText({QStringLiteral("x} "), QString(), QStringLiteral("  y")}),
              QStringLiteral("x} \r\n\r\n  y\r\n"));
}

} // namespace
