// The rule for a slip of the keyboard that "did you mean" and the pairing of
// a misspelled closing tag share: one edit, two for longer names, a swap of
// neighbours counting one.
#include "core/check/nearmiss.h"
#include "tests/support/qtprinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(NearMiss, SlipsAreOneEditAwayOrTwoInLongNames)
{
    const struct {
        QString typed;
        QString known;
        bool slip;
    } cases[] = {
        {u"arclst"_s, u"arclist"_s, true},       // a letter left out
        {u"arclsit"_s, u"arclist"_s, true},      // two neighbours swapped
        {u"rows"_s, u"row"_s, true},             // a letter added
        {u"navgaton"_s, u"navigation"_s, true},  // two edits in a long name
        {u"tgaa"_s, u"tag"_s, false},            // two edits in a short one
        {u"typeid"_s, u"type"_s, false},
        {u"arclist"_s, u"arclist"_s, false},     // the name itself is no slip
        {u"中文名"_s, u"中文"_s, true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(isSlipOf(c.typed, c.known), c.slip) << c.typed.toStdString() << " / " << c.known.toStdString();
    EXPECT_EQ(typingDistance(u"", u"abc"), 3);
    EXPECT_EQ(typingDistance(u"abcd", u"badc"), 2);
}

TEST(NearMiss, TheNearestWinsAndTheFirstOfEqualsStays)
{
    NearestName nearest(u"titlelne");
    for (const QString &known : {u"title"_s, u"titlelen"_s, u"titlelens"_s, u"infolen"_s})
        nearest.consider(known);
    EXPECT_EQ(nearest.best(), u"titlelen"_s);
    NearestName tie(u"ro");
    for (const QString &known : {u"row"_s, u"rom"_s})
        tie.consider(known);
    EXPECT_EQ(tie.best(), u"row"_s);
    NearestName none(u"colour");
    none.consider(u"row");
    EXPECT_TRUE(none.best().isEmpty());
}

} // namespace
