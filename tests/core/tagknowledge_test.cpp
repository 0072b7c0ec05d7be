// What the tool knows of the tags, learnt from the catalog's snippets and
// builders: blocks and single tags, attributes, numeric attributes from the
// builders' number boxes, values from their drop-downs, the site's own tags.
#include "core/tagknowledge.h"
#include "core/templatecheck.h"
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
        {u"zuvi:else"_s, false}, {u"zuvi:elseif"_s, false}, {u"zuvi:include"_s, false},
        {u"zuvi:assign"_s, false},   // written as {zuvi:assign … }, never closed
    };
    for (const KindCase &c : cases) {
        const TagInfo *tag = k.find(c.name);
        ASSERT_NE(tag, nullptr) << c.name.toStdString();
        EXPECT_EQ(tag->block, c.block) << c.name.toStdString();
    }
    EXPECT_EQ(k.find(u"zuvi:arclis"), nullptr);
    EXPECT_TRUE(k.names().contains(u"zuvi:static"_s));
}

TEST(TagKnowledge, AttributesNumbersAndValuesComeFromSnippetsAndBuilders)
{
    const TagInfo *list = TagKnowledge::catalog().find(u"zuvi:arclist");
    ASSERT_NE(list, nullptr);
    for (const QString &attribute : {u"typeid"_s, u"row"_s, u"titlelen"_s, u"infolen"_s})
        EXPECT_TRUE(list->numericAttributes.contains(attribute)) << attribute.toStdString();
    EXPECT_FALSE(list->numericAttributes.contains(u"orderby"_s));
    EXPECT_TRUE(list->attributes.contains(u"orderby"_s));
    EXPECT_TRUE(list->values.value(u"orderby"_s).contains(u"click"_s));
    EXPECT_TRUE(list->values.value(u"orderby"_s).contains(u"sort_order"_s));
    EXPECT_TRUE(TagKnowledge::catalog().find(u"zuvi:include")->attributes.contains(u"file"_s));
}

TEST(TagKnowledge, SiteTagsCountAsKnownWithoutChangingTheCatalog)
{
    const TagKnowledge site = TagKnowledge::catalog().withSiteTags(
        {SiteTag{u"banner"_s, true, {u"pos"_s}}, SiteTag{u"else"_s, false, {u"mode"_s}}});
    ASSERT_NE(site.find(u"zuvi:banner"), nullptr);
    EXPECT_TRUE(site.find(u"zuvi:banner")->block);
    EXPECT_TRUE(site.find(u"zuvi:banner")->attributes.contains(u"pos"_s));
    EXPECT_TRUE(site.find(u"zuvi:else")->attributes.contains(u"mode"_s));
    EXPECT_EQ(TagKnowledge::catalog().find(u"zuvi:banner"), nullptr);
}

} // namespace
