// The tokens the output box colours: snippets in every language the pages
// write, the traps between them, text a user left half-edited, and lines far
// longer than any snippet.
#include "core/template/templatetokens.h"
#include "core/catalog/snippet.h"
#include "tests/support/pagedata.h"
#include "tests/support/qtprinters.h"

#include <QHash>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <ostream>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

using K = TokenKind;

const char *kindName(TokenKind kind)
{
    static const char *const names[kTokenKindCount] = {
        "TemplateTag", "TemplateAttribute", "TemplateValue", "Placeholder", "PlaceholderFilter",
        "HtmlTag", "HtmlAttribute", "HtmlValue", "Comment", "Keyword", "String", "Variable",
        "CssSelector", "CssProperty", "CssValue",
    };
    return names[int(kind)];
}

// A token as the text it covers.
struct Piece {
    QString text;
    TokenKind kind;
    friend bool operator==(const Piece &, const Piece &) = default;
};

void PrintTo(const Piece &piece, std::ostream *os)
{
    PrintTo(piece.text, os);
    *os << ' ' << kindName(piece.kind);
}

QList<Piece> pieces(const QString &text)
{
    QList<Piece> result;
    for (const TemplateToken &token : tokenizeTemplate(text))
        result.append({text.mid(token.start, token.length), token.kind});
    return result;
}

struct Case {
    const char *name;
    QString text;
    QList<Piece> expected;
};

void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.name;
}

const Case kCases[] = {
    // Template tags and placeholders.
    {"self_closing_template_tag",
     u"<title>订单支付-{zuvi:global name='web_name' /}</title>"_s,
     {{u"<title>"_s, K::HtmlTag}, {u"{zuvi:global"_s, K::TemplateTag}, {u"name"_s, K::TemplateAttribute},
      {u"'web_name'"_s, K::TemplateValue}, {u"/}"_s, K::TemplateTag}, {u"</title>"_s, K::HtmlTag}}},
    {"template_block_over_lines",
     u"{zuvi:volist name=\"$field.file_list\" id=\"vo\" row=6}\n{/zuvi:volist}"_s,
     {{u"{zuvi:volist"_s, K::TemplateTag}, {u"name"_s, K::TemplateAttribute},
      {u"\"$field.file_list\""_s, K::TemplateValue}, {u"id"_s, K::TemplateAttribute},
      {u"\"vo\""_s, K::TemplateValue}, {u"row"_s, K::TemplateAttribute}, {u"6"_s, K::TemplateValue},
      {u"}"_s, K::TemplateTag}, {u"{/zuvi:volist}"_s, K::TemplateTag}}},
    {"tags_without_the_prefix",
     u"{neq name=\"$vo.pay_mark\" value=\"Hupijiaopay\"}x{/neq}"_s,
     {{u"{neq"_s, K::TemplateTag}, {u"name"_s, K::TemplateAttribute}, {u"\"$vo.pay_mark\""_s, K::TemplateValue},
      {u"value"_s, K::TemplateAttribute}, {u"\"Hupijiaopay\""_s, K::TemplateValue}, {u"}"_s, K::TemplateTag},
      {u"{/neq}"_s, K::TemplateTag}}},
    {"braces_that_are_no_template_tag",
     u"{shade: [0.1, '#fff']} {time: 1500} {zuvi:} {/zuvi:x {ifx}"_s,
     {}},
    {"a_tag_value_holding_markup_and_the_other_quote",
     u"{zuvi:collect cancel=\"<img src='a.png' />\"}"_s,
     {{u"{zuvi:collect"_s, K::TemplateTag}, {u"cancel"_s, K::TemplateAttribute},
      {u"\"<img src='a.png' />\""_s, K::TemplateValue}, {u"}"_s, K::TemplateTag}}},
    {"placeholder_variable_and_filter_apart",
     u"{$zuvi.field.add_time|MyDate='Y-m-d H:i:s',###}"_s,
     {{u"{$zuvi.field.add_time"_s, K::Placeholder}, {u"|MyDate='Y-m-d H:i:s',###"_s, K::PlaceholderFilter},
      {u"}"_s, K::Placeholder}}},
    {"hashes_and_a_brace_in_quotes_inside_a_filter",
     u"{$f.t|str_replace='}','#',###}{$g}"_s,
     {{u"{$f.t"_s, K::Placeholder}, {u"|str_replace='}','#',###"_s, K::PlaceholderFilter},
      {u"}{$g}"_s, K::Placeholder}}},
    {"placeholders_in_html_attribute_values",
     u"<a href='{$vo.downurl}' {$field.target}>{$vo.title}</a>"_s,
     {{u"<a"_s, K::HtmlTag}, {u"href"_s, K::HtmlAttribute}, {u"'"_s, K::HtmlValue},
      {u"{$vo.downurl}"_s, K::Placeholder}, {u"'"_s, K::HtmlValue}, {u"{$field.target}"_s, K::Placeholder},
      {u">"_s, K::HtmlTag}, {u"{$vo.title}"_s, K::Placeholder}, {u"</a>"_s, K::HtmlTag}}},
    {"a_filter_with_the_attributes_own_quote",
     u"<img src=\"{$zuvi.field.typeid|gettoptype=###,\"litpic\"}\"  height=\"134\" border=0 >"_s,
     {{u"<img"_s, K::HtmlTag}, {u"src"_s, K::HtmlAttribute}, {u"\""_s, K::HtmlValue},
      {u"{$zuvi.field.typeid"_s, K::Placeholder}, {u"|gettoptype=###,\"litpic\""_s, K::PlaceholderFilter},
      {u"}"_s, K::Placeholder}, {u"\""_s, K::HtmlValue}, {u"height"_s, K::HtmlAttribute},
      {u"\"134\""_s, K::HtmlValue}, {u"border"_s, K::HtmlAttribute}, {u"0"_s, K::HtmlValue}, {u">"_s, K::HtmlTag}}},
    {"template_tags_inside_an_attribute_value",
     u"<img src=\"{zuvi:empty name='$vo.img'}{zuvi:static file='$v' /}{/zuvi:empty}\">"_s,
     {{u"<img"_s, K::HtmlTag}, {u"src"_s, K::HtmlAttribute}, {u"\""_s, K::HtmlValue},
      {u"{zuvi:empty"_s, K::TemplateTag}, {u"name"_s, K::TemplateAttribute}, {u"'$vo.img'"_s, K::TemplateValue},
      {u"}{zuvi:static"_s, K::TemplateTag}, {u"file"_s, K::TemplateAttribute}, {u"'$v'"_s, K::TemplateValue},
      {u"/}{/zuvi:empty}"_s, K::TemplateTag}, {u"\""_s, K::HtmlValue}, {u">"_s, K::HtmlTag}}},

    // HTML.
    {"doctype_and_a_tag_over_lines",
     u"<!DOCTYPE HTML>\n<div class=\"a\"\n     id='b'>text</div>"_s,
     {{u"<!DOCTYPE HTML>"_s, K::HtmlTag}, {u"<div"_s, K::HtmlTag}, {u"class"_s, K::HtmlAttribute},
      {u"\"a\""_s, K::HtmlValue}, {u"id"_s, K::HtmlAttribute}, {u"'b'"_s, K::HtmlValue}, {u">"_s, K::HtmlTag},
      {u"</div>"_s, K::HtmlTag}}},
    {"comment_over_lines_with_a_placeholder_in_it",
     u"<!-- 电脑端 {$x}\n  a <b> -->c<br/>"_s,
     {{u"<!-- 电脑端 "_s, K::Comment}, {u"{$x}"_s, K::Placeholder}, {u"  a <b> -->"_s, K::Comment},
      {u"<br/>"_s, K::HtmlTag}}},
    {"an_unclosed_tag_ends_where_the_next_tag_starts",
     u"<div class=\"box\"\n<p>{$field.title}</p>"_s,
     {{u"<div"_s, K::HtmlTag}, {u"class"_s, K::HtmlAttribute}, {u"\"box\""_s, K::HtmlValue},
      {u"<p>"_s, K::HtmlTag}, {u"{$field.title}"_s, K::Placeholder}, {u"</p>"_s, K::HtmlTag}}},
    {"an_unclosed_template_tag_ends_with_its_line",
     u"{zuvi:arclist row='10'\n<a href=\"x\">"_s,
     {{u"{zuvi:arclist"_s, K::TemplateTag}, {u"row"_s, K::TemplateAttribute}, {u"'10'"_s, K::TemplateValue},
      {u"<a"_s, K::HtmlTag}, {u"href"_s, K::HtmlAttribute}, {u"\"x\""_s, K::HtmlValue}, {u">"_s, K::HtmlTag}}},
    {"an_unclosed_placeholder_ends_with_its_line",
     u"a {$field.title|x='\n<b>"_s,
     {{u"{$field.title"_s, K::Placeholder}, {u"|x='"_s, K::PlaceholderFilter}, {u"<b>"_s, K::HtmlTag}}},
    {"a_lone_carriage_return_breaks_the_line_as_in_the_box",
     u"<a\rhref=\"x\">\r\n<b>"_s,
     {{u"<a"_s, K::HtmlTag}, {u"href"_s, K::HtmlAttribute}, {u"\"x\""_s, K::HtmlValue}, {u">"_s, K::HtmlTag},
      {u"<b>"_s, K::HtmlTag}}},
    {"a_less_than_sign_in_text",
     u"1 < 2 <3"_s,
     {}},

    // CSS.
    {"style_block",
     u"<style type=\"text/css\">\n"
     ".pay-item, a:hover { position: relative; content: \"a;b\" }\n"
     "@media (max-width: 600px) { .a { margin: 0 {$m}px; } } /* 注 */\n"
     "</style><p>"_s,
     {{u"<style"_s, K::HtmlTag}, {u"type"_s, K::HtmlAttribute}, {u"\"text/css\""_s, K::HtmlValue},
      {u">"_s, K::HtmlTag}, {u".pay-item, a:hover"_s, K::CssSelector}, {u"position"_s, K::CssProperty},
      {u"relative"_s, K::CssValue}, {u"content"_s, K::CssProperty}, {u"\"a;b\""_s, K::CssValue},
      {u"@media (max-width: 600px)"_s, K::CssSelector}, {u".a"_s, K::CssSelector},
      {u"margin"_s, K::CssProperty}, {u"0"_s, K::CssValue}, {u"{$m}"_s, K::Placeholder},
      {u"px"_s, K::CssValue}, {u"/* 注 */"_s, K::Comment}, {u"</style><p>"_s, K::HtmlTag}}},
    {"declarations_and_comments_over_lines",
     u"<style>\n.a {\n  color: #fff;\n  /* a\n  b */ border: 0\n}\nb{c:d}</style>"_s,
     {{u"<style>"_s, K::HtmlTag}, {u".a"_s, K::CssSelector}, {u"color"_s, K::CssProperty},
      {u"#fff"_s, K::CssValue}, {u"/* a"_s, K::Comment}, {u"  b */"_s, K::Comment},
      {u"border"_s, K::CssProperty}, {u"0"_s, K::CssValue}, {u"b"_s, K::CssSelector},
      {u"c"_s, K::CssProperty}, {u"d"_s, K::CssValue}, {u"</style>"_s, K::HtmlTag}}},

    // Script.
    {"script_block",
     u"<script>\n  // 使用 {$x}\n  var s = 'it\\'s {$RootDir}'; if (a<b) return \"</b>\";\n</script>"_s,
     {{u"<script>"_s, K::HtmlTag}, {u"// 使用 "_s, K::Comment}, {u"{$x}"_s, K::Placeholder},
      {u"var"_s, K::Keyword}, {u"'it\\'s "_s, K::String}, {u"{$RootDir}"_s, K::Placeholder},
      {u"'"_s, K::String}, {u"if"_s, K::Keyword}, {u"return"_s, K::Keyword}, {u"\"</b>\""_s, K::String},
      {u"</script>"_s, K::HtmlTag}}},
    {"the_end_tag_ends_a_script_comment_and_string",
     u"<script>/* a </script><b>x</b>"_s,
     {{u"<script>"_s, K::HtmlTag}, {u"/* a "_s, K::Comment}, {u"</script><b>"_s, K::HtmlTag},
      {u"</b>"_s, K::HtmlTag}}},

    // PHP.
    {"php_between_its_tags",
     u"<p><?php echo $name; // c ?> <b>"_s,
     {{u"<p>"_s, K::HtmlTag}, {u"<?php"_s, K::Keyword}, {u"echo"_s, K::Keyword}, {u"$name"_s, K::Variable},
      {u"// c "_s, K::Comment}, {u"?>"_s, K::Keyword}, {u"<b>"_s, K::HtmlTag}}},
    {"quotes_inside_php_strings",
     u"<?php $a = 'it\\'s \"x\" ?>'; $b = \"say \\\"hi\\\" $a\"; ?>"_s,
     {{u"<?php"_s, K::Keyword}, {u"$a"_s, K::Variable}, {u"'it\\'s \"x\" ?>'"_s, K::String},
      {u"$b"_s, K::Variable}, {u"\"say \\\"hi\\\" "_s, K::String}, {u"$a"_s, K::Variable},
      {u"\""_s, K::String}, {u"?>"_s, K::Keyword}}},
    {"php_comment_and_string_over_lines",
     u"<?php /* a\n b */ $c = 'x\ny'; ?>"_s,
     {{u"<?php"_s, K::Keyword}, {u"/* a"_s, K::Comment}, {u" b */"_s, K::Comment}, {u"$c"_s, K::Variable},
      {u"'x"_s, K::String}, {u"y'"_s, K::String}, {u"?>"_s, K::Keyword}}},
    {"php_in_a_template_php_block",
     u"{zuvi:php}$v = \"a/\".$vo['m'].\".png\";{/zuvi:php}<b>"_s,
     {{u"{zuvi:php}"_s, K::TemplateTag}, {u"$v"_s, K::Variable}, {u"\"a/\""_s, K::String},
      {u"$vo"_s, K::Variable}, {u"'m'"_s, K::String}, {u"\".png\""_s, K::String},
      {u"{/zuvi:php}"_s, K::TemplateTag}, {u"<b>"_s, K::HtmlTag}}},
    {"the_template_engine_cuts_php_at_its_closing_tag_even_in_a_string",
     u"{php}echo \"a{/php}<b>"_s,
     {{u"{php}"_s, K::TemplateTag}, {u"echo"_s, K::Keyword}, {u"\"a"_s, K::String},
      {u"{/php}"_s, K::TemplateTag}, {u"<b>"_s, K::HtmlTag}}},
    {"placeholders_are_not_read_in_php",
     u"<?php $s = \"{$a}\"; # {$b} ?>"_s,
     {{u"<?php"_s, K::Keyword}, {u"$s"_s, K::Variable}, {u"\"{"_s, K::String}, {u"$a"_s, K::Variable},
      {u"}\""_s, K::String}, {u"# {$b} "_s, K::Comment}, {u"?>"_s, K::Keyword}}},
    {"a_php_source_file_without_its_opening_tag",
     u"if (!function_exists('diy_MyDate')){\n  // 时间\n  function diy_MyDate($t) { Case 1: return date('Y', $t); }\n}"_s,
     {{u"if"_s, K::Keyword}, {u"'diy_MyDate'"_s, K::String}, {u"// 时间"_s, K::Comment},
      {u"function"_s, K::Keyword}, {u"$t"_s, K::Variable}, {u"Case"_s, K::Keyword}, {u"return"_s, K::Keyword},
      {u"'Y'"_s, K::String}, {u"$t"_s, K::Variable}}},
    {"prose_starting_with_if_is_not_php",
     u"if you {$x}"_s,
     {{u"{$x}"_s, K::Placeholder}}},
};

class Tokens : public testing::TestWithParam<Case> {};

TEST_P(Tokens, AreThePiecesOfTheSnippet)
{
    const Case &c = GetParam();
    EXPECT_EQ(pieces(c.text), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Snippets, Tokens, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case> &info) { return std::string(info.param.name); });

// What holds for the tokens of any text: in order, apart, inside the text,
// never over a line break.
void expectWellFormed(const QString &text, const QList<TemplateToken> &tokens, const std::string &where)
{
    qsizetype end = 0;
    for (const TemplateToken &token : tokens) {
        ASSERT_GE(token.start, end) << where;
        ASSERT_GT(token.length, 0) << where;
        ASSERT_LE(token.start + token.length, text.size()) << where;
        const QStringView covered = QStringView(text).sliced(token.start, token.length);
        ASSERT_FALSE(covered.contains(u'\n') || covered.contains(u'\r')) << where;
        end = token.start + token.length;
    }
}

TEST(TokensOfThePageData, EveryTemplateTagAndPlaceholderOfEveryEntryIsOne)
{
    // The tags and placeholders the CMS expands, wherever they stand in a
    // snippet's HTML, CSS or script; not in PHP source (the extension
    // functions), where braces and $ are PHP's.
    static const QRegularExpression templateStart(u"\\{(\\$|zuvi:|/zuvi:)"_s);
    int checked = 0;
    for (int page = Page::Home; page <= Page::ExtensionFunctions; ++page) {
        for (const CatalogControl *entry : pageData(page).entries()) {
            const QString text = snippetText(entry->lines);
            const std::string where = entry->name.toStdString() + " of page " + std::to_string(page);
            const QList<TemplateToken> tokens = tokenizeTemplate(text);
            expectWellFormed(text, tokens, where);
            const bool phpSource = !tokens.isEmpty() && tokens.first().kind == TokenKind::Keyword
                                   && !text.startsWith(u"<?"_s);
            if (phpSource)
                continue;
            QList<int> kindAt(text.size(), -1);
            for (const TemplateToken &token : tokens)
                std::fill_n(kindAt.begin() + token.start, token.length, int(token.kind));
            for (auto match = templateStart.globalMatch(text); match.hasNext();) {
                const qsizetype at = match.next().capturedStart();
                const TokenKind expected = text[at + 1] == u'$' ? TokenKind::Placeholder : TokenKind::TemplateTag;
                EXPECT_EQ(kindAt[at], int(expected)) << where << " at " << text.mid(at, 30).toStdString();
                EXPECT_EQ(kindAt[at + 1], int(expected)) << where << " at " << text.mid(at, 30).toStdString();
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 300);
}

TEST(TokensOfLongLines, SixtyFourKiBOfOneLineGiveEveryTokenOnce)
{
    const QString unit = u"<a href=\"{$f.url}\">{zuvi:x a='1'/}</a>"_s;
    QString line;
    while (line.size() < 64 * 1024)
        line += unit;
    const qsizetype units = line.size() / unit.size();
    const QList<TemplateToken> tokens = tokenizeTemplate(line);
    expectWellFormed(line, tokens, "repeated snippet");
    // <a href " {$f.url} " > {zuvi:x a '1' /} </a>, where the </a> of one
    // joins the <a of the next.
    ASSERT_EQ(tokens.size(), units * 11 - (units - 1));
    const TemplateToken &last = tokens.last();
    EXPECT_EQ(line.mid(last.start, last.length), u"</a>"_s);

    // Openers that never close: each run is read once, to the end of the line.
    for (const QString &opener : {u"{$"_s, u"<!--"_s, u"<?php /*"_s, u"<script>/*"_s}) {
        const QString repeated = opener.repeated(64 * 1024 / opener.size());
        const QList<TemplateToken> openTokens = tokenizeTemplate(repeated);
        expectWellFormed(repeated, openTokens, opener.toStdString());
        ASSERT_FALSE(openTokens.isEmpty()) << opener.toStdString();
        EXPECT_EQ(openTokens.last().start + openTokens.last().length, repeated.size()) << opener.toStdString();
        EXPECT_LE(openTokens.size(), 3) << opener.toStdString();
    }
    // Openers whose closers are the next opener's start: any number of
    // tokens, all well formed.
    for (const QString &opener : {u"{zuvi:a b='"_s, u"<a b=\""_s, u"<?php '"_s, u"{zuvi:php}\""_s, u"<style>a{"_s}) {
        const QString repeated = opener.repeated(64 * 1024 / opener.size());
        expectWellFormed(repeated, tokenizeTemplate(repeated), opener.toStdString());
    }
}

TEST(TokensOfLines, CarryTheirStateAndSurviveAnyState)
{
    // Line by line as the box's highlighter calls it, the same as the whole
    // text at once; a CR before the line break belongs to no token.
    const QString text = u"<?php /* a\r\n b */ $c ?>\r\n<style>\r\n.a { b: c }\r\n"_s;
    QList<TemplateToken> byLine;
    int state = kTextStart;
    qsizetype start = 0;
    for (const QString &line : text.split(u"\r\n"_s)) {
        QList<TemplateToken> lineTokens;
        state = tokenizeTemplateLine(line, state, lineTokens);
        for (TemplateToken token : lineTokens) {
            token.start += start;
            byLine.append(token);
        }
        start += line.size() + 2;
    }
    EXPECT_EQ(byLine, tokenizeTemplate(text));
    EXPECT_GE(state, 0);

    // A state from anywhere (a stale block, another highlighter) is read as
    // some state, never out of range.
    for (const int anyState : {0, 1, 15, 0x7fff, 0x12345, std::numeric_limits<int>::max(), -2}) {
        QList<TemplateToken> tokens;
        const QString line = u"a */ b ?> c \" d ' e --> f </style> g"_s;
        const int next = tokenizeTemplateLine(line, anyState, tokens);
        expectWellFormed(line, tokens, std::to_string(anyState));
        EXPECT_GE(next, 0) << anyState;
    }
}

} // namespace
