// The template parser: each kind of piece with its ranges, what only looks
// like a tag, tags spanning lines under every line end, and the faults with
// the recovery that keeps one fault to one error.
#include "core/template/templateparser.h"
#include "tests/support/qtprinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString covered(const QString &text, const TextRange &range)
{
    return text.sliced(range.start, range.length);
}

// Each piece as its kind and the text its ranges cover, so that a table
// shows every range at a glance.
QStringList described(const QString &text, const ParsedTemplate &parsed)
{
    static const char *const forms[] = {"open", "single", "close"};
    QStringList out;
    for (const TemplateNode &node : parsed.nodes) {
        QString line;
        switch (node.kind) {
        case NodeKind::Tag:
            line = QLatin1String(forms[int(node.form)]) + u' ' + covered(text, node.name);
            for (const TagAttribute &attribute : parsed.attributesOf(node))
                line += u' ' + covered(text, attribute.name) + u'=' + covered(text, attribute.value);
            break;
        case NodeKind::Placeholder:
            line = u'$' + covered(text, node.variable);
            for (const TextRange &filter : parsed.filtersOf(node))
                line += u'|' + covered(text, filter);
            break;
        case NodeKind::Php:
            line = u"php:"_s + covered(text, node.range);
            break;
        case NodeKind::Comment:
            line = u"comment:"_s + covered(text, node.range);
            break;
        }
        if (node.comment >= 0)
            line += u" (in comment)"_s;
        out.append(line);
    }
    static const char *const faults[] = {"tag not closed", "value not closed", "placeholder not closed"};
    for (const SyntaxError &error : parsed.errors)
        out.append(QLatin1String(faults[int(error.fault)]) + u": "_s + covered(text, error.range));
    return out;
}

struct ParseCase {
    const char *what;
    QString text;
    QStringList pieces;
};

class TemplateParserTest : public testing::TestWithParam<ParseCase> {};

TEST_P(TemplateParserTest, ReadsThePieces)
{
    const ParseCase &c = GetParam();
    EXPECT_EQ(described(c.text, parseTemplate(c.text)), c.pieces) << c.what;
}

const ParseCase kCases[] = {
    {"a list with attributes quoted and bare, a placeholder with filters",
     u"<ul>{zuvi:list row='10' titlelen=20}<li>{$field.title|msubstr=0,20|MyDate='Y|m}d'}</li>{/zuvi:list}</ul>"_s,
     {u"open zuvi:list row='10' titlelen=20"_s, u"$field.title|msubstr=0,20|MyDate='Y|m}d'"_s, u"close zuvi:list"_s}},
    {"single tags, plain names, an attribute without a value",
     u"{zuvi:else /}{volist name=\"list\" id=\"vo\"}{/volist}{assign name=\"x\" value=\"1\" }{zuvi:x checked/}"_s,
     {u"single zuvi:else"_s, u"open volist name=\"list\" id=\"vo\""_s, u"close volist"_s,
      u"open assign name=\"x\" value=\"1\""_s, u"single zuvi:x checked="_s}},
    {"what only looks like a tag",
     u"body{color:red} {zuvix} { zuvi:list} {iff} {/} {zuvi:} {zuvi:list-x}"_s, {}},
    {"a tag and a quoted value over lines, every line end",
     u"{zuvi:list\r\n  row=\"5\"\r  titlelen='2\n0'}"_s, {u"open zuvi:list row=\"5\" titlelen='2\n0'"_s}},
    {"a tag inside an HTML comment still counts",
     u"<!-- {zuvi:include file=\"head.htm\" /} -->"_s,
     {u"comment:<!-- {zuvi:include file=\"head.htm\" /} -->"_s, u"single zuvi:include file=\"head.htm\" (in comment)"_s}},
    {"PHP is not read for tags up to its closing tag",
     u"{zuvi:php}echo \"{/zuvi:list}\";{/zuvi:php}{php}$a{/php}"_s,
     {u"open zuvi:php"_s, u"php:echo \"{/zuvi:list}\";"_s, u"close zuvi:php"_s, u"open php"_s, u"php:$a"_s, u"close php"_s}},
    {"a value never closed ends at the } on its line; no second fault",
     u"{zuvi:list row='10}x{$a}"_s,
     {u"open zuvi:list row='10"_s, u"$a"_s, u"value not closed: '10"_s}},
    {"a value never closed before the next tag ends at its line end",
     u"{zuvi:a x=\"1 \n{zuvi:b y=\"2\"}"_s,
     {u"open zuvi:a x=\"1 "_s, u"open zuvi:b y=\"2\""_s, u"value not closed: \"1 "_s}},
    {"a tag never closed ends where the next one starts",
     u"{zuvi:list row=10\n{zuvi:else /}"_s,
     {u"open zuvi:list row=10"_s, u"single zuvi:else"_s, u"tag not closed: {zuvi:list"_s}},
    {"a tag never closed ends at the end of its first line; what follows is read",
     u"{zuvi:list row=10\r\n titlelen='5'<li>{$a}</li>\r\n{/zuvi:list}"_s,
     {u"open zuvi:list row=10"_s, u"$a"_s, u"close zuvi:list"_s, u"tag not closed: {zuvi:list"_s}},
    {"a value open where a } follows it on its line ends there, though a quote comes later",
     u"{zuvi:list row='10}\n<a href='{$a}'>{/zuvi:list}"_s,
     {u"open zuvi:list row='10"_s, u"$a"_s, u"close zuvi:list"_s, u"value not closed: '10"_s}},
    {"a closing tag ends right after its name, or is text",
     u"{/zuvi:list x}{/zuvi:list }{/volist"_s, {}},
    {"a placeholder ends on its line",
     u"{$field.title\n{$x|f='a\n'}"_s,
     {u"$field.title"_s, u"$x|f='a"_s, u"placeholder not closed: {$field.title"_s,
      u"placeholder not closed: {$x|f='a"_s}},
    {"an HTML comment never closed",
     u"<!-- {zuvi:x /} <!-- x"_s, {u"comment:<!-- {zuvi:x /} <!-- x"_s, u"single zuvi:x (in comment)"_s}},
    {"PHP of a block never closed runs to the end",
     u"{zuvi:php}$a = '{/zuvi:list}';"_s, {u"open zuvi:php"_s, u"php:$a = '{/zuvi:list}';"_s}},
    {"a comment right after a tag, at the start, after a '<' and after text with '!'",
     u"!<!--a-->{zuvi:x /}<!--b--><<!--c-->Hi! <!x <!- -->"_s,
     {u"comment:<!--a-->"_s, u"single zuvi:x"_s, u"comment:<!--b-->"_s, u"comment:<!--c-->"_s}},
    {"what only starts like a comment, and one started inside a tag's value",
     u"<! -- x --> <!-x--> {zuvi:a v=<!--x}<!--y-->"_s,
     {u"open zuvi:a v=<!--x"_s, u"comment:<!--y-->"_s}},
    // Values, placeholders and comments are skipped sixteen characters a
    // step to what may end them: longer than a step, ending at the text's end.
    {"a quoted value past a step, its quote the last character",
     u"{zuvi:a v='0123456789abcdefghij'"_s,
     {u"open zuvi:a v='0123456789abcdefghij'"_s, u"tag not closed: {zuvi:a"_s}},
    {"a quoted value past a step never closed, and one closed by the last brace",
     u"{zuvi:a v='0123456789abcdefghij}\n{zuvi:b v=\"0123456789abcdefghij"_s,
     {u"open zuvi:a v='0123456789abcdefghij"_s, u"open zuvi:b v=\"0123456789abcdefghij"_s,
      u"value not closed: '0123456789abcdefghij"_s, u"value not closed: \"0123456789abcdefghij"_s}},
    {"surrogate pairs and braces that open no tag inside a value",
     u"{zuvi:a v='😀😀😀😀😀😀😀😀😀{x}{$y}' w=\"\"}"_s,
     {u"open zuvi:a v='😀😀😀😀😀😀😀😀😀{x}{$y}' w=\"\""_s}},
    {"a placeholder past a step closed by the last character, and one never closed",
     u"{$abcdefghijklmnopqrstu}{$abcdefghijklmnopqrst"_s,
     {u"$abcdefghijklmnopqrstu"_s, u"$abcdefghijklmnopqrst"_s, u"placeholder not closed: {$abcdefghijklmnopqrst"_s}},
    {"a comment past a step closed at the end, and what only looks like its end",
     u"<!--->--0123456789abcdefghij-->"_s, {u"comment:<!--->--0123456789abcdefghij-->"_s}},
    {"a brace as the last character", u"0123456789abcdefghij{"_s, {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, TemplateParserTest, testing::ValuesIn(kCases));

TEST(TemplateParser, OffsetsAreUtf16UnitsAfterChineseAndAstralText)
{
    const QString text = u"栏目😀{zuvi:list row='中'}"_s;
    const ParsedTemplate parsed = parseTemplate(text);
    ASSERT_EQ(parsed.nodes.size(), 1);
    EXPECT_EQ(parsed.nodes[0].range.start, 4);
    EXPECT_EQ(parsed.nodes[0].name, (TextRange{5, 9}));
    EXPECT_EQ(parsed.attributesOf(parsed.nodes[0])[0].value, (TextRange{19, 3}));
    EXPECT_EQ(tagName(text, parsed.nodes[0]), u"list"_s);
}

TEST(TemplateParser, NodeAtAnOffsetIsTheInnermostPiece)
{
    const QString text = u"<!-- {$a} x -->{zuvi:list row='1'}{/zuvi:list} y"_s;
    const ParsedTemplate parsed = parseTemplate(text);
    const struct {
        qsizetype offset;
        qsizetype node;
    } cases[] = {
        {0, 0}, {6, 1}, {9, 1}, {11, 0}, {15, 2}, {26, 2}, {35, 3}, {48, -1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(nodeAt(parsed, c.offset), c.node) << c.offset;
    EXPECT_EQ(nodeAt(parseTemplate(u"text"_s), 2), -1);
}

TEST(TemplateParser, ManyFaultsGiveOneErrorEach)
{
    QString text;
    for (int i = 0; i < 2000; ++i)
        text += u"{zuvi:a x='1\n"_s;
    const ParsedTemplate parsed = parseTemplate(text);
    EXPECT_EQ(parsed.nodes.size(), 2000);
    EXPECT_EQ(parsed.errors.size(), 2000);
}

} // namespace
