// What a cursor stands in, read from the parsed template: each kind of
// place, the edges of every piece (at its '{', at its end, after its '}' or
// closing quote, a word typed right before a tag), values holding '}', PHP
// of both kinds, CR LF and Chinese text; and, at every offset of awkward
// texts, a context whose ranges and indexes fit the text.
#include "core/template/cursorcontext.h"
#include "tests/support/qtprinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Where the cursor stands in a case's text: '|' is a placeholder's filter.
constexpr QChar kCursor = u'‸';

const char *kindName(CursorKind kind)
{
    switch (kind) {
    case CursorKind::Text: return "text";
    case CursorKind::TagName: return "tag name";
    case CursorKind::AttributeName: return "attribute name";
    case CursorKind::AttributeValue: return "attribute value";
    case CursorKind::InTag: return "in tag";
    case CursorKind::ClosingTag: return "closing tag";
    case CursorKind::Placeholder: return "placeholder";
    case CursorKind::Php: return "php";
    }
    return "?";
}

QString covered(const QString &text, const TextRange &range)
{
    return text.sliced(range.start, range.length);
}

// The context as one line: its kind, then each part that is set, as the
// text it covers ("typed «{zuvi:fen»").
QString described(const QString &text, const ParsedTemplate &parsed, const CursorContext &cursor)
{
    QString line = QLatin1String(kindName(cursor.kind));
    const auto part = [&](const char *name, const QString &shown) {
        line += u' ' + QLatin1String(name) + u" «"_s + shown + u'»';
    };
    if (cursor.typed.length > 0)
        part("typed", covered(text, cursor.typed));
    if (cursor.query.length > 0)
        part("query", covered(text, cursor.query));
    if (cursor.node >= 0) {
        const TemplateNode &node = parsed.nodes[cursor.node];
        part("node", covered(text, node.kind == NodeKind::Tag ? node.name : node.range));
        if (cursor.attribute >= 0)
            part("attribute", covered(text, parsed.attributesOf(node)[cursor.attribute].name));
    }
    if (cursor.kind == CursorKind::AttributeValue)
        part("value", covered(text, cursor.value));
    return line;
}

struct CursorCase {
    const char *what;
    QString marked;
    QString context;
};

void PrintTo(const CursorCase &c, std::ostream *os)
{
    *os << c.what;
}

class CursorContextTest : public testing::TestWithParam<CursorCase> {};

TEST_P(CursorContextTest, SaysWhatTheCursorStandsIn)
{
    const CursorCase &c = GetParam();
    const qsizetype offset = c.marked.indexOf(kCursor);
    ASSERT_GE(offset, 0) << c.what;
    QString text = c.marked;
    text.remove(offset, 1);
    const ParsedTemplate parsed = parseTemplate(text);
    EXPECT_EQ(described(text, parsed, cursorContextAt(text, parsed, offset)), c.context) << c.what;
}

const CursorCase kCases[] = {
    // Text, and a tag begun in it that the parser does not read as one yet.
    {"a word", u"<li>fenye‸"_s, u"text typed «fenye» query «fenye»"_s},
    {"a Chinese word", u"<p>分页‸</p>"_s, u"text typed «分页» query «分页»"_s},
    {"nothing typed", u"abc ‸"_s, u"text"_s},
    {"a brace alone", u"a\r\n{‸"_s, u"text typed «{»"_s},
    {"the prefix on its way", u"{zu‸"_s, u"text typed «{zu»"_s},
    {"the prefix whole", u"{zuvi:‸"_s, u"text typed «{zuvi:»"_s},
    {"the prefix and a word, after Chinese and a pair", u"中文\U0001D11E {zuvi:fenye‸"_s,
     u"tag name typed «{zuvi:fenye» query «fenye» node «zuvi:fenye»"_s},
    {"a brace and a word", u"x{fen‸"_s, u"text typed «{fen» query «fen»"_s},
    {"the prefix without a brace is no tag", u"zuvi:fen‸"_s, u"text typed «fen» query «fen»"_s},
    {"a name followed by markup is no tag yet", u"{zuvi:fen‸<p>"_s, u"text typed «{zuvi:fen» query «fen»"_s},
    {"a word typed right before a tag stays text", u"fenye‸{zuvi:if}{/zuvi:if}"_s,
     u"text typed «fenye» query «fenye»"_s},
    {"a brace typed right before a tag stays text", u"{‸{zuvi:if}"_s, u"text typed «{»"_s},
    {"just after a tag's }", u"{zuvi:if}‸x{/zuvi:if}"_s, u"text"_s},
    {"just after a single tag's /}", u"{zuvi:else /}‸"_s, u"text"_s},
    {"just after a placeholder's }", u"{$a}‸"_s, u"text"_s},
    {"in a comment", u"<!-- fen‸ -->"_s, u"text typed «fen» query «fen»"_s},
    {"on the next line after CR LF", u"{zuvi:arclist row='1'}\r\nfen‸"_s, u"text typed «fen» query «fen»"_s},
    {"a value left open ends at the }, which closes the tag", u"{zuvi:if condition='a}‸"_s, u"text"_s},

    // An opening tag's name, from its '{'.
    {"in the name", u"{zuvi:arc‸list row='1'}"_s, u"tag name typed «{zuvi:arc» query «arc» node «zuvi:arclist»"_s},
    {"at the tag's {", u"<p>‸{zuvi:arclist}"_s, u"tag name node «zuvi:arclist»"_s},
    {"right after the {", u"{‸zuvi:arclist}"_s, u"tag name typed «{» node «zuvi:arclist»"_s},
    {"at the name's end", u"{zuvi:arclist‸}"_s, u"tag name typed «{zuvi:arclist» query «arclist» node «zuvi:arclist»"_s},
    {"a name without the prefix", u"{vol‸ist name='a'}"_s, u"tag name typed «{vol» query «vol» node «volist»"_s},
    {"a tag not closed, at the end of the text", u"{zuvi:fen‸"_s, u"tag name typed «{zuvi:fen» query «fen» node «zuvi:fen»"_s},
    {"the next tag right after a tag's }", u"{zuvi:if}‸{zuvi:else /}"_s, u"tag name node «zuvi:else»"_s},
    {"a tag inside a comment", u"<!-- {zuvi:inc‸lude /} -->"_s,
     u"tag name typed «{zuvi:inc» query «inc» node «zuvi:include»"_s},

    // Attribute names, and the place of a new one.
    {"a name begun", u"{zuvi:arclist ti‸}"_s, u"attribute name typed «ti» node «zuvi:arclist» attribute «ti»"_s},
    {"at a name's end, before its =", u"{zuvi:arclist orderby‸='x'}"_s,
     u"attribute name typed «orderby» node «zuvi:arclist» attribute «orderby»"_s},
    {"after a blank, where a new one goes", u"{zuvi:arclist row='10' ‸}"_s, u"attribute name node «zuvi:arclist»"_s},
    {"before /}", u"{zuvi:pagelist ‸/}"_s, u"attribute name node «zuvi:pagelist»"_s},
    {"on a line of its own after CR LF", u"{zuvi:arclist row='1'\r\n‸}"_s, u"attribute name node «zuvi:arclist»"_s},

    // Inside values.
    {"a quoted value", u"{zuvi:arclist orderby='cl‸ick'}"_s,
     u"attribute value typed «cl» node «zuvi:arclist» attribute «orderby» value «click»"_s},
    {"right after the opening quote", u"{zuvi:arclist orderby='‸'}"_s,
     u"attribute value node «zuvi:arclist» attribute «orderby» value «»"_s},
    {"before the closing quote", u"{zuvi:arclist orderby=\"click‸\"}"_s,
     u"attribute value typed «click» node «zuvi:arclist» attribute «orderby» value «click»"_s},
    {"a value holding a }", u"{zuvi:if condition=\"$a}‸b\"}"_s,
     u"attribute value typed «$a}» node «zuvi:if» attribute «condition» value «$a}b»"_s},
    {"an unquoted value", u"{zuvi:arclist row=1‸0}"_s,
     u"attribute value typed «1» node «zuvi:arclist» attribute «row» value «10»"_s},
    {"at an unquoted value's end", u"{zuvi:arclist row=10‸}"_s,
     u"attribute value typed «10» node «zuvi:arclist» attribute «row» value «10»"_s},
    {"an = and no value yet", u"{zuvi:arclist row=‸}"_s, u"attribute value node «zuvi:arclist» attribute «row» value «»"_s},
    {"a value not closed, at the end of the text", u"{zuvi:arclist orderby='cl‸"_s,
     u"attribute value typed «cl» node «zuvi:arclist» attribute «orderby» value «cl»"_s},
    {"a value over CR LF lines, with Chinese", u"{zuvi:if condition='中\r\n文‸'}"_s,
     u"attribute value typed «中\r\n文» node «zuvi:if» attribute «condition» value «中\r\n文»"_s},

    // Elsewhere in an opening tag.
    {"on the =, before the opening quote", u"{zuvi:arclist orderby=‸'click'}"_s,
     u"in tag node «zuvi:arclist» attribute «orderby»"_s},
    {"right after a closing quote", u"{zuvi:arclist row='1'‸}"_s, u"in tag node «zuvi:arclist»"_s},
    {"between / and }", u"{zuvi:pagelist /‸}"_s, u"in tag node «zuvi:pagelist»"_s},

    // Closing tags.
    {"in a closing tag's name", u"{zuvi:arclist}{/zuvi:arc‸list}"_s, u"closing tag typed «{/zuvi:arc» node «zuvi:arclist»"_s},
    {"at a closing tag's {", u"{zuvi:if}‸{/zuvi:if}"_s, u"closing tag node «zuvi:if»"_s},
    {"after a closing tag's }", u"{zuvi:if}{/zuvi:if}‸"_s, u"text"_s},
    {"{/ typed", u"{zuvi:if}\n  {/‸"_s, u"closing tag typed «{/»"_s},
    {"{/ and a name typed", u"{zuvi:volist}{/zuvi:vo‸"_s, u"closing tag typed «{/zuvi:vo»"_s},

    // Placeholders.
    {"in a placeholder", u"{$field.ti‸tle}"_s, u"placeholder node «{$field.title}»"_s},
    {"at a placeholder's {", u"<b>‸{$a}"_s, u"placeholder node «{$a}»"_s},
    {"a placeholder not closed, at its end", u"{$field.ti‸"_s, u"placeholder node «{$field.ti»"_s},
    {"a filter's quoted }", u"{$a|f='}‸'}"_s, u"placeholder node «{$a|f='}'}»"_s},

    // PHP.
    {"in a {zuvi:php} block", u"{zuvi:php}echo fen‸;{/zuvi:php}"_s, u"php node «echo fen;»"_s},
    {"at the end of the block's PHP", u"{zuvi:php}fenye‸{/zuvi:php}"_s, u"php node «fenye»"_s},
    {"an empty block", u"{zuvi:php}‸{/zuvi:php}"_s, u"php node «»"_s},
    {"the block's closing tag begun", u"{zuvi:php}echo 1;\r\n{/zu‸"_s, u"closing tag typed «{/zu»"_s},
    {"after the block's closing tag", u"{zuvi:php}x{/zuvi:php}‸"_s, u"text"_s},
    {"between <?php and ?>", u"<?php echo fen‸; ?>"_s, u"php"_s},
    {"after <?=", u"<?= fen‸ ?>"_s, u"php"_s},
    {"a brace in PHP code", u"<?PHP if ($a) {‸ ?>"_s, u"php"_s},
    {"after ?>", u"<?php x(); ?>fen‸"_s, u"text typed «fen» query «fen»"_s},
    {"an XML declaration is no PHP", u"<?xml version=\"1.0\"?>\r\n<a>fen‸"_s, u"text typed «fen» query «fen»"_s},
    {"a tag in PHP code is a tag", u"<?php echo '{zuvi:arc‸list}'; ?>"_s,
     u"tag name typed «{zuvi:arc» query «arc» node «zuvi:arclist»"_s},
};

INSTANTIATE_TEST_SUITE_P(Places, CursorContextTest, testing::ValuesIn(kCases));

// At every offset of texts that end mid-way, break lines every way and mix
// pieces: the context's indexes and ranges fit the text and agree with its
// kind, and what is typed ends at the cursor.
TEST(CursorContext, EveryOffsetGivesAContextThatFitsTheText)
{
    const QString texts[] = {
        u""_s,
        u"{"_s,
        u"{/"_s,
        u"<?"_s,
        u"{zuvi:"_s,
        u"{zuvi:a b='1' c=\"2\r\n3\" d=4 e= f /}{/zuvi:a}"_s,
        u"<!-- {zuvi:x y='}'} {$a|f='|'} --><?php {zuvi:php}?>{/zuvi:php} ?>{$b"_s,
        u"中文{zuvi:list row='10}\n<a href='{$a}'>{/zuvi:list}{zuvi:a x=\"1 \n{zuvi:b y=\"2\"}{zuvi:c 'd' /"_s,
        u"{zuvi:php}{/zuvi:php}{php}$a{/php}{zuvi:list row=10\r\n titlelen='5'<li>"_s,
    };
    for (const QString &text : texts) {
        const ParsedTemplate parsed = parseTemplate(text);
        for (qsizetype offset = 0; offset <= text.size(); ++offset) {
            const CursorContext cursor = cursorContextAt(text, parsed, offset);
            const std::string where = QStringLiteral("%1 at %2").arg(text).arg(offset).toStdString();
            EXPECT_EQ(cursor.typed.end(), offset) << where;
            EXPECT_GE(cursor.typed.start, 0) << where;
            EXPECT_GE(cursor.query.start, cursor.typed.start) << where;
            EXPECT_EQ(cursor.query.end(), offset) << where;
            ASSERT_LT(cursor.node, parsed.nodes.size()) << where;
            const bool inTag = cursor.kind == CursorKind::TagName || cursor.kind == CursorKind::AttributeName
                || cursor.kind == CursorKind::AttributeValue || cursor.kind == CursorKind::InTag;
            if (inTag) {
                ASSERT_GE(cursor.node, 0) << where;
                const TemplateNode &node = parsed.nodes[cursor.node];
                EXPECT_EQ(node.kind, NodeKind::Tag) << where;
                EXPECT_NE(node.form, TagForm::Close) << where;
                EXPECT_TRUE(node.range.contains(offset)) << where;
                ASSERT_LT(cursor.attribute, parsed.attributesOf(node).size()) << where;
            } else {
                EXPECT_EQ(cursor.attribute, -1) << where;
            }
            if (cursor.kind == CursorKind::AttributeValue) {
                EXPECT_GE(cursor.attribute, 0) << where;
                EXPECT_TRUE(cursor.value.contains(offset)) << where;
            }
            if (cursor.kind == CursorKind::Text) {
                EXPECT_EQ(cursor.node, -1) << where;
            }
            if (cursor.node >= 0) {
                EXPECT_EQ(cursor.onTag(), inTag || cursor.kind == CursorKind::ClosingTag) << where;
            }
        }
    }
}

} // namespace
