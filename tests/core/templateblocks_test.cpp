// The pairing of tags into blocks: nesting, what the catalog says is a
// block, unknown tags closed later, and each structural fault with where the
// blocks it touches are taken to end.
#include "core/catalog/tagknowledge.h"
#include "core/template/templateblocks.h"
#include "core/check/templatecheck.h"
#include "tests/support/qtprinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Each block as "name<parent: content", then each fault.
QStringList described(const QString &text, const ParsedTemplate &parsed, const TemplateBlocks &blocks)
{
    const auto nameOf = [&](qsizetype node) { return text.sliced(parsed.nodes[node].name.start, parsed.nodes[node].name.length); };
    QStringList out;
    for (const TemplateBlock &block : blocks.blocks) {
        QString line = nameOf(block.open);
        if (block.parent >= 0)
            line += u'<' + nameOf(blocks.blocks[block.parent].open);
        line += (block.close >= 0 ? u": "_s : u" (no closing tag): "_s) + text.sliced(block.content.start, block.content.length);
        out.append(line);
    }
    for (const BlockFault &fault : blocks.faults) {
        switch (fault.kind) {
        case BlockFault::Kind::NeverClosed:
            out.append(u"never closed: "_s + nameOf(blocks.blocks[fault.block].open));
            break;
        case BlockFault::Kind::NothingOpen:
            out.append(u"nothing open: "_s + nameOf(fault.node)
                       + (fault.block >= 0 ? u", taken for "_s + nameOf(blocks.blocks[fault.block].open) : QString()));
            break;
        case BlockFault::Kind::Crossing: {
            QStringList crossed;
            for (const qsizetype block : fault.crossed)
                crossed.append(nameOf(blocks.blocks[block].open));
            out.append(u"crossing: "_s + nameOf(fault.node) + u" over "_s + crossed.join(u','));
            break;
        }
        case BlockFault::Kind::ElseOutside:
            out.append(u"else outside: "_s + nameOf(fault.node));
            break;
        }
    }
    return out;
}

struct BlockCase {
    const char *what;
    QString text;
    QStringList described;
};

class TemplateBlocksTest : public testing::TestWithParam<BlockCase> {};

TEST_P(TemplateBlocksTest, PairsTheTags)
{
    const BlockCase &c = GetParam();
    const TagKnowledge knowledge = TagKnowledge::catalog().withSiteTags({SiteTag{u"banner"_s, false, {}}});
    const ParsedTemplate parsed = parseTemplate(c.text);
    EXPECT_EQ(described(c.text, parsed, pairBlocks(c.text, parsed, knowledge)), c.described) << c.what;
}

const BlockCase kCases[] = {
    {"nesting; single tags and else inside open nothing",
     u"{zuvi:arclist}a{zuvi:if}b{zuvi:else /}c{/zuvi:if}{zuvi:include file='x' /}{zuvi:global name='x'}{/zuvi:arclist}"_s,
     {u"zuvi:arclist: a{zuvi:if}b{zuvi:else /}c{/zuvi:if}{zuvi:include file='x' /}{zuvi:global name='x'}"_s,
      u"zuvi:if<zuvi:arclist: b{zuvi:else /}c"_s}},
    {"an unknown tag is a block when a closing tag follows it, not when one comes before",
     u"{zuvi:mine}x{/zuvi:mine}{/zuvi:other}{zuvi:other}{zuvi:third}"_s,
     {u"zuvi:mine: x"_s, u"nothing open: zuvi:other"_s}},
    {"a site's tag declared single stays single",
     u"{zuvi:banner}{/zuvi:banner}"_s, {u"nothing open: zuvi:banner"_s}},
    {"a block never closed runs to the end, and so do the blocks in it",
     u"{zuvi:arclist}a{zuvi:volist}b"_s,
     {u"zuvi:arclist (no closing tag): a{zuvi:volist}b"_s, u"zuvi:volist<zuvi:arclist (no closing tag): b"_s,
      u"never closed: zuvi:arclist"_s, u"never closed: zuvi:volist"_s}},
    {"a closing tag crossing blocks closes them where it stands, once",
     u"{zuvi:arclist}{zuvi:if}{zuvi:volist}x{/zuvi:arclist}{zuvi:if}{/zuvi:if}"_s,
     {u"zuvi:arclist: {zuvi:if}{zuvi:volist}x"_s, u"zuvi:if<zuvi:arclist (no closing tag): {zuvi:volist}x"_s,
      u"zuvi:volist<zuvi:if (no closing tag): x"_s, u"zuvi:if: "_s, u"crossing: zuvi:arclist over zuvi:volist,zuvi:if"_s}},
    {"a misspelled closing tag closes the block it was meant for",
     u"{zuvi:arclist}x{/zuvi:arclst}{/zuvi:channel}"_s,
     {u"zuvi:arclist: x"_s, u"nothing open: zuvi:arclst, taken for zuvi:arclist"_s,
      u"nothing open: zuvi:channel"_s}},
    {"else outside every block, plain or prefixed",
     u"{zuvi:else /}{else /}{zuvi:elseif condition='1'/}{zuvi:if}{zuvi:else /}{/zuvi:if}"_s,
     {u"zuvi:if: {zuvi:else /}"_s, u"else outside: zuvi:else"_s, u"else outside: else"_s, u"else outside: zuvi:elseif"_s}},
    {"a tag inside a comment still pairs",
     u"<!-- {zuvi:arclist} -->{/zuvi:arclist}"_s, {u"zuvi:arclist:  -->"_s}},
};

INSTANTIATE_TEST_SUITE_P(Cases, TemplateBlocksTest, testing::ValuesIn(kCases));

TEST(TemplateBlocks, BlockAtAnOffsetIsTheInnermostHoldingIt)
{
    //                    0         1         2         3         4         5
    //                    0123456789012345678901234567890123456789012345678901234
    const QString text = u"{zuvi:arclist}a{zuvi:if}b{/zuvi:if}c{/zuvi:arclist}d{zuvi:volist}"_s;
    const ParsedTemplate parsed = parseTemplate(text);
    const TemplateBlocks blocks = pairBlocks(text, parsed, TagKnowledge::catalog());
    ASSERT_EQ(blocks.blocks.size(), 3);
    const struct {
        qsizetype offset;
        qsizetype block;
    } cases[] = {{0, -1}, {14, 0}, {24, 1}, {25, 1}, {35, 0}, {36, 0}, {51, -1}, {65, 2}};
    for (const auto &c : cases)
        EXPECT_EQ(blocks.blockAt(c.offset), c.block) << c.offset;
    // Each tag knows the block it opens or closes.
    EXPECT_EQ(blocks.blockOfNode[0], 0);
    EXPECT_EQ(blocks.blockOfNode[2], 1);
    EXPECT_EQ(blocks.blockOfNode[3], 0);
    EXPECT_EQ(blocks.blocks[0].close, 3);
}

} // namespace
