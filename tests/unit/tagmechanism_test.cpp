#include "shell/tagmechanism.h"
#include "tests/support/fakepageview.h"
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

TEST(WriteAndCopy, ReplaceTheUsersTextAndCopyWhatTheBoxHolds)
{
    FakePageView view;
    view.output = QStringLiteral("typed by the user");
    writeSnippet(view, {QStringLiteral("one"), QStringLiteral("two")});
    copyToClipboard(view);
    EXPECT_EQ(view.output, QStringLiteral("one\r\ntwo\r\n"));
    EXPECT_EQ(view.clipboard, view.output);
}

TEST(WriteAndCopy, CopyingAnEmptyBoxPutsAnEmptyText)
{
    FakePageView view;
    view.clipboard = QStringLiteral("earlier");
    copyToClipboard(view);
    EXPECT_EQ(view.clipboard, QString());
    EXPECT_EQ(view.clipboardWrites, 1);
}

TEST(SelectExclusively, WalksZeroToHighestSelectingOnlyTheIndex)
{
    FakePageView view(3);
    view.selected = {{0, true}, {2, true}};   // an inconsistent start is put right
    selectExclusively(view, 1);
    EXPECT_EQ(view.calls, (QStringList{"SetEntryValue(0,0)", "SetEntryValue(1,1)",
                                       "SetEntryValue(2,0)", "SetEntryValue(3,0)"}));
    EXPECT_EQ(view.selectedEntries(), QList<qint16>{1});
}

TEST(SelectExclusively, AnIndexOutsideTheRangeClearsEverything)
{
    for (qint16 index : {qint16(-1), qint16(4), qint16(32767), qint16(-32768)}) {
        FakePageView view(3);
        view.selected = {{2, true}};
        selectExclusively(view, index);
        EXPECT_TRUE(view.selectedEntries().isEmpty()) << index;
        EXPECT_EQ(view.calls.size(), 4) << index;
    }
}

TEST(SelectExclusively, TheHighestPossibleIndexEndsTheWalk)
{
    FakePageView view(32767);
    selectExclusively(view, 32767);
    EXPECT_EQ(view.calls.size(), 32768);
    EXPECT_EQ(view.selectedEntries(), QList<qint16>{32767});
}

} // namespace
