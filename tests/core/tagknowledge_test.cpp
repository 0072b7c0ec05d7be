// What the tool knows of the tags, learnt from the catalog's snippets and
// builders: blocks and single tags, attributes, numeric attributes from the
// builders' number boxes, values from their drop-downs, where each tag comes
// from, the site's own tags; the digest compiled in holding what the pages
// teach.
#include "core/catalog/catalogdigest.h"
#include "core/catalog/pagetable.h"
#include "core/catalog/tagknowledge.h"
#include "core/check/templatecheck.h"
#include "tests/support/qtprinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct KindCase {
    QString name;
    bool block;
};

TEST(TagKnowledge, BlocksAreTheTagsSeenWithAClosingTag)
{
    const TagKnowledge &k = TagKnowledge::catalog();
    const KindCase cases[] = {
        {u"zuvi:arclist"_s, true}, {u"zuvi:volist"_s, true}, {u"zuvi:if"_s, true}, {u"zuvi:php"_s, true},
        {u"zuvi:list"_s, true}, {u"notempty"_s, true},
        {u"zuvi:else"_s, false}, {u"zuvi:elseif"_s, false}, {u"zuvi:include"_s, false},
        {u"zuvi:assign"_s, false},   // written as {zuvi:assign … }, never closed
    };
    for (const KindCase &c : cases) {
        const TagInfo *tag = k.find(c.name);
        ASSERT_NE(tag, nullptr) << c.name.toStdString();
        EXPECT_EQ(tag->block, c.block) << c.name.toStdString();
    }
    EXPECT_EQ(k.find(u"zuvi:arclis"), nullptr);
    EXPECT_TRUE(std::is_sorted(k.tags().cbegin(), k.tags().cend(),
                               [](const TagInfo &a, const TagInfo &b) { return a.name < b.name; }));
}

TEST(TagKnowledge, NumbersComeFromNumberBoxesAndValuesFromDropDowns)
{
    const TagKnowledge &k = TagKnowledge::catalog();
    const TagInfo *arclist = k.find(u"zuvi:arclist");
    ASSERT_NE(arclist, nullptr);
    for (const QString &attribute : {u"typeid"_s, u"row"_s, u"titlelen"_s, u"infolen"_s}) {
        ASSERT_NE(arclist->attribute(attribute), nullptr) << attribute.toStdString();
        EXPECT_TRUE(arclist->attribute(attribute)->numeric) << attribute.toStdString();
    }
    // A fragment " orderby='click'" and a bare word inside type='…' alike.
    EXPECT_EQ(arclist->attribute(u"orderby")->values, (QStringList{u"now"_s, u"click"_s, u"sort_order"_s, u"rand"_s}));
    EXPECT_FALSE(arclist->attribute(u"orderby")->numeric);
    EXPECT_EQ(arclist->attribute(u"flag")->values.first(), u"h"_s);
    EXPECT_EQ(k.find(u"zuvi:channel")->attribute(u"type")->values,
              (QStringList{u"top"_s, u"self"_s, u"son"_s, u"sonself"_s, u"first"_s}));
    EXPECT_TRUE(k.find(u"zuvi:list")->attribute(u"pagesize")->numeric);
    // An example value in an entry's snippet makes no rule.
    EXPECT_FALSE(k.find(u"zuvi:tag")->attribute(u"typeid")->numeric);
    EXPECT_TRUE(k.find(u"zuvi:tag")->attribute(u"typeid")->values.isEmpty());
    EXPECT_TRUE(k.isAttributeName(u"titlelen"));
    EXPECT_FALSE(k.isAttributeName(u"titlelne"));
}

TEST(TagKnowledge, SiteTagsCountAsKnownWithoutChangingTheCatalog)
{
    const TagKnowledge site = TagKnowledge::catalog().withSiteTags(
        {SiteTag{u"banner"_s, true, {u"pos"_s}}, SiteTag{u"else"_s, false, {u"mode"_s}},
         SiteTag{u"zuvi:slider"_s, false, {}}});
    ASSERT_NE(site.find(u"zuvi:banner"), nullptr);
    EXPECT_TRUE(site.find(u"zuvi:banner")->block);
    EXPECT_NE(site.find(u"zuvi:banner")->attribute(u"pos"), nullptr);
    EXPECT_NE(site.find(u"zuvi:else")->attribute(u"mode"), nullptr);
    EXPECT_NE(site.find(u"zuvi:slider"), nullptr);
    EXPECT_TRUE(site.isAttributeName(u"pos"));
    EXPECT_EQ(TagKnowledge::catalog().find(u"zuvi:banner"), nullptr);
    EXPECT_EQ(TagKnowledge::catalog().find(u"zuvi:else")->attribute(u"mode"), nullptr);
}

void expectSameKnowledge(const TagKnowledge &read, const TagKnowledge &learnt)
{
    ASSERT_EQ(read.tags().size(), learnt.tags().size());
    for (qsizetype i = 0; i < learnt.tags().size(); ++i) {
        const TagInfo &tag = learnt.tags()[i];
        EXPECT_TRUE(read.tags()[i] == tag) << tag.name.toStdString();
        // Found through its index of names, as the checker looks tags up.
        EXPECT_EQ(read.find(tag.name), &read.tags()[i]) << tag.name.toStdString();
    }
    EXPECT_EQ(read.attributeNames(), learnt.attributeNames());
}

// The knowledge compiled in is read from the digest the build wrote, and is
// what the core learns from the page data now: the data stays its one source.
TEST(TagKnowledge, TheDigestCompiledInIsWhatThePagesTeach)
{
    const catalogdigest::Digest *digest = catalogdigest::compiled();
    ASSERT_NE(digest, nullptr) << "core_tests is linked with the digest, as the programs are";
    const TagKnowledge learnt = TagKnowledge::learnCatalog();
    expectSameKnowledge(TagKnowledge::fromDigest(*digest), learnt);
    expectSameKnowledge(TagKnowledge::catalog(), learnt);
}

} // namespace
