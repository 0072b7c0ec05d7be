#pragma once

#include <QList>
#include <QStringView>

// The pieces of a template snippet that the output box colours. The snippets
// mix several languages: the CMS's template tags and placeholders, HTML, CSS
// in <style> blocks, script in <script> blocks and PHP (between <?php and ?>,
// in {zuvi:php} blocks, or a whole file of it such as the extension functions).
enum class TokenKind : quint8 {
    TemplateTag,        // {zuvi:name and its closing } or /}; {/zuvi:name}
    TemplateAttribute,  // an attribute name of a template tag
    TemplateValue,      // an attribute value of a template tag, quotes included
    Placeholder,        // {$field.title}: the braces and the variable
    PlaceholderFilter,  // |MyDate='Y-m-d',### in {$field.add_time|MyDate='Y-m-d',###}
    HtmlTag,            // <div, </div, >, />, <!DOCTYPE html>
    HtmlAttribute,
    HtmlValue,          // quotes included
    Comment,            // HTML, CSS, script and PHP comments
    Keyword,            // PHP and script keywords; <?php and ?>
    String,             // PHP and script strings, quotes included
    Variable,           // PHP's $name
    CssSelector,
    CssProperty,
    CssValue,
};
inline constexpr int kTokenKindCount = int(TokenKind::CssValue) + 1;

struct TemplateToken {
    qsizetype start = 0;
    qsizetype length = 0;
    TokenKind kind = TokenKind::TemplateTag;

    friend bool operator==(const TemplateToken &, const TemplateToken &) = default;
};

// What the lines before a line left open (an HTML comment, a tag spanning
// lines, a <style> or <script> block, PHP, a PHP string), as a number that
// fits QSyntaxHighlighter's block state. kTextStart stands before the first
// line, which is also QSyntaxHighlighter's state before the first block.
inline constexpr int kTextStart = -1;

// Appends the tokens of one line (without its line break) to `tokens`, in
// order and without overlaps; the text between tokens is plain. `state` is
// what the previous line returned, or kTextStart. Returns the state at the
// end of the line. Linear in the length of the line.
int tokenizeTemplateLine(QStringView line, int state, QList<TemplateToken> &tokens);

// The tokens of a whole text, with positions in the text. Lines break where
// the output box breaks them: at CR LF, LF or CR, which belong to no token.
QList<TemplateToken> tokenizeTemplate(QStringView text);
