#include "core/catalog/pinyin.h"
#include "tests/support/qtprinters.h"

#include <gtest/gtest.h>

namespace {

struct PinyinCase {
    const char16_t *text;
    QStringList words;
    const char *initials;
    friend void PrintTo(const PinyinCase &c, std::ostream *os) { PrintTo(QString::fromUtf16(c.text), os); }
};

class PinyinTest : public testing::TestWithParam<PinyinCase> {};

TEST_P(PinyinTest, GivesTheWordsAndInitialsOfACaption)
{
    const QString text = QString::fromUtf16(GetParam().text);
    EXPECT_EQ(pinyinWords(text), GetParam().words) << text.toStdString();
    EXPECT_EQ(pinyinInitials(text), QString::fromLatin1(GetParam().initials)) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Captions, PinyinTest, testing::Values(
    PinyinCase{u"分页标签", {"fen", "ye", "biao", "qian"}, "fybq"},
    PinyinCase{u"会员中心登陆", {"hui", "yuan", "zhong", "xin", "deng", "lu"}, "hyzxdl"},
    // Latin runs are words of their own, in lower case, wherever they stand.
    PinyinCase{u"arcpagelist瀑布流分页列表", {"arcpagelist", "pu", "bu", "liu", "fen", "ye", "lie", "biao"}, "apblfylb"},
    PinyinCase{u"网站LOGO", {"wang", "zhan", "logo"}, "wzl"},
    PinyinCase{u"栏目页title", {"lan", "mu", "ye", "title"}, "lmyt"},
    // Punctuation and blanks only separate.
    PinyinCase{u"关于Zuvi", {"guan", "yu", "zuvi"}, "gyz"},
    PinyinCase{u"Tag标签主页URL", {"tag", "biao", "qian", "zhu", "ye", "url"}, "tbqzyu"},
    PinyinCase{u"diy url, 2列（页）", {"diy", "url", "2", "lie", "ye"}, "du2ly"},
    PinyinCase{u"", {}, ""}));

// A Han character the page texts do not hold has no syllable in the table;
// it stays a word of its own rather than vanishing.
TEST(Pinyin, AHanCharacterOutsideTheTableStandsForItself)
{
    EXPECT_EQ(pinyinWords(u"分龘页"), (QStringList{"fen", u"龘"_qs, "ye"}));
}

} // namespace
