#include "core/template/templatetokens.h"

#include "core/template/templatesyntax.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace {

using Kind = TokenKind;

// What the text at the end of a line is inside of.
enum class Context : quint8 {
    Markup,
    HtmlTag,            // between the attributes of an HTML tag
    HtmlValueDouble,    // in an attribute value in double quotes
    HtmlValueSingle,
    HtmlComment,
    Css,                // in a <style> block
    CssComment,
    Script,             // in a <script> block
    ScriptComment,
    Php,
    PhpComment,
    PhpDouble,          // in a PHP string in double quotes
    PhpSingle,
};
constexpr int kLastContext = int(Context::PhpSingle);

// The element whose raw content follows the HTML tag being read.
enum class Element : quint8 { Other, Style, Script };

// PHP keywords, lower case (PHP reads them in any case), sorted.
constexpr std::string_view kPhpKeywords[] = {
    "abstract", "and", "array", "as", "break", "callable", "case", "catch", "class", "clone", "const",
    "continue", "declare", "default", "do", "echo", "else", "elseif", "empty", "enddeclare", "endfor",
    "endforeach", "endif", "endswitch", "endwhile", "enum", "exit", "extends", "false", "final", "finally",
    "fn", "for", "foreach", "function", "global", "goto", "if", "implements", "include", "include_once",
    "instanceof", "insteadof", "interface", "isset", "list", "match", "namespace", "new", "null", "or",
    "parent", "print", "private", "protected", "public", "readonly", "require", "require_once", "return",
    "self", "static", "switch", "throw", "trait", "true", "try", "unset", "use", "var", "while", "xor",
    "yield",
};

// Script keywords, sorted.
constexpr std::string_view kScriptKeywords[] = {
    "async", "await", "break", "case", "catch", "class", "const", "continue", "debugger", "default", "delete",
    "do", "else", "export", "extends", "false", "finally", "for", "function", "if", "import", "in",
    "instanceof", "let", "new", "null", "return", "super", "switch", "this", "throw", "true", "try", "typeof",
    "undefined", "var", "while",
};

// How a line of PHP source starts; a text whose first line starts so (the
// extension functions, written for the site's PHP file) is PHP from its
// start, without <?php. Control words must be followed by '(', the others by
// a blank, so that a line of prose ("if you...") is not taken for PHP.
constexpr std::string_view kPhpControlStarts[] = {"declare", "for", "foreach", "if", "switch", "while"};
constexpr std::string_view kPhpStatementStarts[] = {
    "abstract", "class", "echo", "final", "function", "include", "include_once", "namespace", "require",
    "require_once", "return",
};

// At-rules whose block holds rules with selectors, not declarations.
constexpr std::string_view kCssGroupingRules[] = {
    "container", "document", "layer", "media", "supports",
};

template <size_t N>
constexpr bool isSorted(const std::string_view (&words)[N])
{
    for (size_t i = 1; i < N; ++i) {
        if (!(words[i - 1] < words[i]))
            return false;
    }
    return true;
}
static_assert(isSorted(kPhpKeywords) && isSorted(kScriptKeywords)
              && isSorted(kPhpControlStarts) && isSorted(kPhpStatementStarts) && isSorted(kCssGroupingRules));

using templatesyntax::isAsciiLetter;
using templatesyntax::isIdentifierChar;
using templatesyntax::isIdentifierStart;
using templatesyntax::isOneOf;
using templatesyntax::kPhpTags;

struct State {
    Context context = Context::Markup;
    Context outer = Context::Markup;    // where PHP returns to when it ends
    Element element = Element::Other;
    quint8 phpEnd = 0;
    bool cssDeclarations = false;       // inside a rule's braces
    bool cssValue = false;              // after a property's colon
    bool cssGroup = false;              // inside @media { } or the like

    int pack() const
    {
        return int(context) | int(outer) << 4 | int(element) << 8 | int(phpEnd) << 10 | int(cssDeclarations) << 12
            | int(cssValue) << 13 | int(cssGroup) << 14;
    }
    // Any number gives a valid state; what is out of range starts afresh.
    static State unpack(int packed)
    {
        State state;
        if (packed < 0)
            return state;
        const auto context = [](int value) { return value <= kLastContext ? Context(value) : Context::Markup; };
        state.context = context(packed & 0xf);
        state.outer = context(packed >> 4 & 0xf);
        state.element = (packed >> 8 & 3) <= int(Element::Script) ? Element(packed >> 8 & 3) : Element::Other;
        state.phpEnd = (packed >> 10 & 3) <= int(std::size(kPhpTags)) ? quint8(packed >> 10 & 3) : 0;
        state.cssDeclarations = packed >> 12 & 1;
        state.cssValue = packed >> 13 & 1;
        state.cssGroup = packed >> 14 & 1;
        // PHP never returns into PHP.
        if (state.outer >= Context::Php)
            state.outer = Context::Markup;
        return state;
    }
};

// Reads one line. Every step moves forward or changes the context to one
// that moves forward, and nothing is read twice, so the time is linear in
// the length of the line.
class LineReader
{
public:
    LineReader(QStringView line, State state, QList<TemplateToken> &tokens, qsizetype offset)
        : m_line(line), m_state(state), m_tokens(tokens), m_offset(offset)
    {
    }

    State read()
    {
        while (m_pos < m_line.size()) {
            switch (m_state.context) {
            case Context::Markup:
                markup();
                break;
            case Context::HtmlTag:
                htmlTag();
                break;
            case Context::HtmlValueDouble:
            case Context::HtmlValueSingle: {
                const auto quote = m_state.context == Context::HtmlValueDouble ? QLatin1String("\"") : QLatin1String("'");
                if (readRun(quote, Kind::HtmlValue) == RunEnd::Found)
                    m_state.context = Context::HtmlTag;
                break;
            }
            case Context::HtmlComment:
                if (readRun(QLatin1String("-->"), Kind::Comment) == RunEnd::Found)
                    m_state.context = Context::Markup;
                break;
            case Context::Css:
                css();
                break;
            case Context::CssComment:
                if (readRun(QLatin1String("*/"), Kind::Comment) == RunEnd::Found)
                    m_state.context = Context::Css;
                break;
            case Context::Script:
                script();
                break;
            case Context::ScriptComment:
                if (readRun(QLatin1String("*/"), Kind::Comment) == RunEnd::Found)
                    m_state.context = Context::Script;
                break;
            case Context::Php:
                php();
                break;
            case Context::PhpComment:
            case Context::PhpDouble:
            case Context::PhpSingle:
                phpRun();
                break;
            }
        }
        return m_state;
    }

private:
    QChar peek(qsizetype ahead = 0) const
    {
        return m_pos + ahead < m_line.size() ? m_line[m_pos + ahead] : QChar();
    }
    bool at(QLatin1String text, Qt::CaseSensitivity cs = Qt::CaseSensitive) const
    {
        // Most positions fail on the first character, which every text
        // looked for here has in one case only.
        return m_pos < m_line.size() && m_line[m_pos] == QLatin1Char(text.front())
            && m_line.sliced(m_pos).startsWith(text, cs);
    }
    qsizetype skip(qsizetype from, bool (*accepts)(QChar)) const
    {
        while (from < m_line.size() && accepts(m_line[from]))
            ++from;
        return from;
    }

    // Adds a token; one that continues the previous one of its kind joins it.
    void add(qsizetype from, qsizetype to, Kind kind)
    {
        if (to <= from)
            return;
        if (!m_tokens.isEmpty()) {
            TemplateToken &last = m_tokens.last();
            if (last.kind == kind && last.start + last.length == m_offset + from) {
                last.length += to - from;
                return;
            }
        }
        m_tokens.append({m_offset + from, to - from, kind});
    }
    void addAndSkip(qsizetype length, Kind kind)
    {
        add(m_pos, m_pos + length, kind);
        m_pos += length;
    }

    // --- Template tags and placeholders, which the CMS expands before the
    // page reaches a browser, and so stand out wherever they are: in HTML
    // text, attribute values, comments, style and script blocks.

    // Reads {zuvi:name ...}, {/zuvi:name}, {name ...} of the plain tag
    // names, or {$...} at the current position, if one starts here.
    bool readTemplate()
    {
        using templatesyntax::TagStart;
        const TagStart start = templatesyntax::tagStartAt(m_line, m_pos);
        switch (start.kind) {
        case TagStart::Kind::None:
            return false;
        case TagStart::Kind::Placeholder:
            readPlaceholder();
            return true;
        case TagStart::Kind::Closing:
            addAndSkip(start.nameEnd + 1 - m_pos, Kind::TemplateTag);
            return true;
        case TagStart::Kind::Opening:
            break;
        }
        const QStringView name = m_line.sliced(start.nameStart, start.nameEnd - start.nameStart);
        addAndSkip(start.nameEnd - m_pos, Kind::TemplateTag);
        readTemplateAttributes(name);
        return true;
    }

    void readTemplateAttributes(QStringView name)
    {
        using templatesyntax::isAttributeChar;
        while (m_pos < m_line.size()) {
            const QChar c = peek();
            if (c == u'}') {
                addAndSkip(1, Kind::TemplateTag);
                if (const int php = templatesyntax::phpTagIndex(name); php >= 0)
                    enterPhp(quint8(php + 1));
                return;
            }
            if (c == u'/' && peek(1) == u'}') {
                addAndSkip(2, Kind::TemplateTag);
                return;
            }
            if (c == u'"' || c == u'\'') {
                readQuoted(Kind::TemplateValue);
            } else if (isAttributeChar(c)) {
                addAndSkip(skip(m_pos, isAttributeChar) - m_pos, Kind::TemplateAttribute);
                m_pos = skip(m_pos, +[](QChar c) { return c.isSpace(); });
                if (peek() != u'=')
                    continue;
                m_pos = skip(m_pos + 1, +[](QChar c) { return c.isSpace(); });
                if (peek() == u'"' || peek() == u'\'') {
                    readQuoted(Kind::TemplateValue);
                } else {
                    qsizetype valueEnd = m_pos;
                    while (valueEnd < m_line.size() && !m_line[valueEnd].isSpace() && m_line[valueEnd] != u'}'
                           && !m_line.sliced(valueEnd).startsWith(QLatin1String("/}")))
                        ++valueEnd;
                    addAndSkip(valueEnd - m_pos, Kind::TemplateValue);
                }
            } else {
                ++m_pos;
            }
        }
        // Not closed on its line: the tag ends here and the next line starts
        // afresh.
    }

    // A value in quotes, to its closing quote or the end of the line.
    void readQuoted(Kind kind)
    {
        const qsizetype close = m_line.indexOf(peek(), m_pos + 1);
        addAndSkip((close < 0 ? m_line.size() : close + 1) - m_pos, kind);
    }

    // {$field.title} or {$zuvi.field.add_time|MyDate='Y-m-d',###}: the
    // variable, then its filters up to the closing brace outside quotes.
    void readPlaceholder()
    {
        const qsizetype start = m_pos;
        qsizetype i = templatesyntax::placeholderVariableEnd(m_line, m_pos + 2);
        add(start, i, Kind::Placeholder);
        if (i < m_line.size() && m_line[i] == u'|') {
            const qsizetype filter = i;
            while (i < m_line.size() && m_line[i] == u'|')
                i = templatesyntax::placeholderFilterEnd(m_line, i + 1);
            add(filter, i, Kind::PlaceholderFilter);
        }
        if (i < m_line.size()) {
            add(i, i + 1, Kind::Placeholder);
            ++i;
        }
        m_pos = i;
    }

    // --- PHP openers, recognised wherever a template tag is.

    bool readPhpOpener()
    {
        qsizetype length = 0;
        if (at(QLatin1String("<?php"), Qt::CaseInsensitive))
            length = 5;
        else if (at(QLatin1String("<?=")))
            length = 3;
        else if (at(QLatin1String("<?")) && (peek(2).isNull() || peek(2).isSpace()))
            length = 2;
        else
            return false;
        addAndSkip(length, Kind::Keyword);
        enterPhp(0);
        return true;
    }
    void enterPhp(quint8 end)
    {
        m_state.outer = m_state.context;
        m_state.phpEnd = end;
        m_state.context = Context::Php;
    }

    // --- Runs: comments, attribute values, strings.

    enum class RunEnd { Found, LineEnd, Interrupted };

    // Reads text of `kind` from `from` (the current position or before it)
    // up to and including `end`, or to the end of the line. Template tags,
    // placeholders and PHP inside are tokens of their own; PHP interrupts the
    // run, and so does the end tag of the <style> or <script> block the run
    // is in. An empty `end` reads to the end of the line.
    RunEnd readRun(QLatin1String end, Kind kind, bool escapes = false, qsizetype from = -1)
    {
        const Context context = m_state.context;
        qsizetype start = from < 0 ? m_pos : from;
        while (m_pos < m_line.size()) {
            if (!end.isEmpty() && at(end)) {
                m_pos += end.size();
                add(start, m_pos, kind);
                return RunEnd::Found;
            }
            const QChar c = peek();
            if (escapes && c == u'\\') {
                m_pos = qMin(m_pos + 2, m_line.size());
                continue;
            }
            if (c == u'{' || c == u'<') {
                add(start, m_pos, kind);
                start = m_pos;
                if (rawTextEndsHere()) {
                    endRawText();
                    return RunEnd::Interrupted;
                }
                if (readTemplate() || readPhpOpener()) {
                    start = m_pos;
                    if (m_state.context != context)
                        return RunEnd::Interrupted;
                    continue;
                }
            }
            ++m_pos;
        }
        add(start, m_pos, kind);
        return RunEnd::LineEnd;
    }

    // --- HTML.

    void markup()
    {
        while (m_pos < m_line.size() && m_state.context == Context::Markup) {
            const QChar c = peek();
            if (c == u'{' && readTemplate())
                continue;
            if (c == u'<' && readAngle())
                continue;
            ++m_pos;
        }
    }

    // A comment, PHP, a declaration or a tag's name at a '<' in the text.
    bool readAngle()
    {
        if (at(QLatin1String("<!--"))) {
            addAndSkip(4, Kind::Comment);
            m_state.context = Context::HtmlComment;
            return true;
        }
        if (readPhpOpener())
            return true;
        const QChar next = peek(1);
        if (next == u'!' || next == u'?') {
            // <!DOCTYPE html> or <?xml ...?>, on one line.
            const qsizetype close = m_line.indexOf(u'>', m_pos);
            addAndSkip((close < 0 ? m_line.size() : close + 1) - m_pos, Kind::HtmlTag);
            return true;
        }
        const bool closing = next == u'/';
        const qsizetype nameStart = m_pos + 1 + closing;
        if (nameStart >= m_line.size() || !isAsciiLetter(m_line[nameStart]))
            return false;
        const qsizetype nameEnd = skip(nameStart, +[](QChar c) { return isIdentifierChar(c) || c == u'-' || c == u':'; });
        const QStringView name = m_line.sliced(nameStart, nameEnd - nameStart);
        m_state.element = Element::Other;
        if (!closing && name.compare(QLatin1String("style"), Qt::CaseInsensitive) == 0)
            m_state.element = Element::Style;
        else if (!closing && name.compare(QLatin1String("script"), Qt::CaseInsensitive) == 0)
            m_state.element = Element::Script;
        addAndSkip(nameEnd - m_pos, Kind::HtmlTag);
        m_state.context = Context::HtmlTag;
        return true;
    }

    void htmlTag()
    {
        while (m_pos < m_line.size() && m_state.context == Context::HtmlTag) {
            const QChar c = peek();
            if (c.isSpace()) {
                ++m_pos;
            } else if (c == u'{' && readTemplate()) {
            } else if (c == u'<') {
                if (readPhpOpener())
                    return;
                // A tag left without its '>' (text being edited): the next
                // tag starts here.
                const QChar next = peek(1);
                if (isAsciiLetter(next) || next == u'/' || next == u'!') {
                    m_state.context = Context::Markup;
                    m_state.element = Element::Other;
                    return;
                }
                ++m_pos;
            } else if (c == u'>') {
                addAndSkip(1, Kind::HtmlTag);
                closeTag();
            } else if (c == u'/' && peek(1) == u'>') {
                addAndSkip(2, Kind::HtmlTag);
                m_state.element = Element::Other;
                m_state.context = Context::Markup;
            } else if (c == u'"' || c == u'\'') {
                addAndSkip(1, Kind::HtmlValue);
                m_state.context = c == u'"' ? Context::HtmlValueDouble : Context::HtmlValueSingle;
            } else if (c == u'=') {
                ++m_pos;
                readUnquotedValue();
            } else if (isAttributeNameChar(c)) {
                addAndSkip(skip(m_pos, isAttributeNameChar) - m_pos, Kind::HtmlAttribute);
            } else {
                ++m_pos;
            }
        }
    }

    static bool isAttributeNameChar(QChar c)
    {
        return !c.isSpace() && c != u'"' && c != u'\'' && c != u'<' && c != u'>' && c != u'=' && c != u'/'
            && c != u'{';
    }

    // border=0: a value without quotes, up to a blank or the tag's end.
    void readUnquotedValue()
    {
        m_pos = skip(m_pos, +[](QChar c) { return c.isSpace(); });
        const auto isValueChar = [](QChar c) {
            return !c.isSpace() && c != u'"' && c != u'\'' && c != u'<' && c != u'>' && c != u'{';
        };
        qsizetype end = m_pos;
        while (end < m_line.size() && isValueChar(m_line[end]) && !m_line.sliced(end).startsWith(QLatin1String("/>")))
            ++end;
        addAndSkip(end - m_pos, Kind::HtmlValue);
    }

    void closeTag()
    {
        switch (m_state.element) {
        case Element::Style:
            m_state.context = Context::Css;
            break;
        case Element::Script:
            m_state.context = Context::Script;
            break;
        case Element::Other:
            m_state.context = Context::Markup;
            break;
        }
        m_state.element = Element::Other;
        m_state.cssDeclarations = m_state.cssValue = m_state.cssGroup = false;
    }

    // </style> or </script>, which ends the block whatever the CSS or script
    // around it.
    bool rawTextEndsHere() const
    {
        QLatin1String end;
        switch (m_state.context) {
        case Context::Css:
        case Context::CssComment:
            end = QLatin1String("</style");
            break;
        case Context::Script:
        case Context::ScriptComment:
            end = QLatin1String("</script");
            break;
        default:
            return false;
        }
        return at(end, Qt::CaseInsensitive) && !isIdentifierChar(peek(end.size()));
    }
    void endRawText()
    {
        m_state.context = Context::Markup;
        readAngle();
    }

    // --- CSS in <style> blocks.

    void css()
    {
        while (m_pos < m_line.size() && m_state.context == Context::Css) {
            const QChar c = peek();
            if (c.isSpace()) {
                ++m_pos;
            } else if (c == u'<' && (rawTextEndsHere() || atPhpOpener())) {
                if (rawTextEndsHere())
                    endRawText();
                else
                    readPhpOpener();
            } else if (c == u'{' && readTemplate()) {
            } else if (at(QLatin1String("/*"))) {
                addAndSkip(2, Kind::Comment);
                m_state.context = Context::CssComment;
            } else if (c == u'{') {
                ++m_pos;
                if (!m_state.cssDeclarations) {
                    if (m_groupingPrelude)
                        m_state.cssGroup = true;
                    else
                        m_state.cssDeclarations = true;
                }
                m_groupingPrelude = false;
            } else if (c == u'}') {
                ++m_pos;
                if (m_state.cssDeclarations)
                    m_state.cssDeclarations = m_state.cssValue = false;
                else
                    m_state.cssGroup = false;
            } else if (c == u';') {
                ++m_pos;
                m_state.cssValue = false;
            } else if (!m_state.cssDeclarations) {
                readCssRun(Kind::CssSelector);
            } else if (m_state.cssValue) {
                readCssRun(Kind::CssValue);
            } else if (isCssNameChar(c)) {
                addAndSkip(skip(m_pos, isCssNameChar) - m_pos, Kind::CssProperty);
                m_pos = skip(m_pos, +[](QChar c) { return c.isSpace(); });
                if (peek() == u':') {
                    ++m_pos;
                    m_state.cssValue = true;
                }
            } else {
                m_state.cssValue = c == u':';
                ++m_pos;
            }
        }
    }

    static bool isCssNameChar(QChar c) { return isIdentifierChar(c) || c == u'-'; }

    bool atPhpOpener() const
    {
        return at(QLatin1String("<?php"), Qt::CaseInsensitive) || at(QLatin1String("<?="))
            || (at(QLatin1String("<?")) && (peek(2).isNull() || peek(2).isSpace()));
    }

    // A selector or a value: up to what the CSS reader handles itself, blanks
    // at its end left out. Strings in it are part of it.
    void readCssRun(Kind kind)
    {
        const qsizetype start = m_pos;
        qsizetype lastSolid = m_pos;
        while (m_pos < m_line.size()) {
            const QChar c = peek();
            if (c == u'{' || c == u'}' || c == u';' || at(QLatin1String("/*"))
                || (c == u'<' && (rawTextEndsHere() || atPhpOpener())))
                break;
            if (c == u'"' || c == u'\'') {
                const qsizetype close = m_line.indexOf(c, m_pos + 1);
                m_pos = close < 0 ? m_line.size() : close + 1;
                lastSolid = m_pos;
                continue;
            }
            ++m_pos;
            if (!c.isSpace())
                lastSolid = m_pos;
        }
        add(start, lastSolid, kind);
        if (kind == Kind::CssSelector && peek(0) == u'{' && m_line[start] == u'@') {
            const qsizetype nameEnd = skip(start + 1, isCssNameChar);
            m_groupingPrelude = isOneOf(m_line.sliced(start + 1, nameEnd - start - 1), kCssGroupingRules, true);
        }
    }

    // --- Script in <script> blocks: keywords, strings and comments.

    void script()
    {
        while (m_pos < m_line.size() && m_state.context == Context::Script) {
            const QChar c = peek();
            if (c == u'<' && rawTextEndsHere()) {
                endRawText();
            } else if (c == u'<' && readPhpOpener()) {
            } else if (c == u'{' && readTemplate()) {
            } else if (at(QLatin1String("//"))) {
                readRun({}, Kind::Comment);
            } else if (at(QLatin1String("/*"))) {
                addAndSkip(2, Kind::Comment);
                m_state.context = Context::ScriptComment;
            } else if (c == u'"' || c == u'\'' || c == u'`') {
                // Strings end on their line; a missing quote harms one line.
                const qsizetype from = m_pos++;
                readRun(QLatin1String(c == u'"' ? "\"" : c == u'\'' ? "'" : "`"), Kind::String, true, from);
            } else if (isIdentifierStart(c) || c == u'$') {
                const qsizetype end = skip(m_pos, +[](QChar c) { return isIdentifierChar(c) || c == u'$'; });
                if (isOneOf(m_line.sliced(m_pos, end - m_pos), kScriptKeywords))
                    add(m_pos, end, Kind::Keyword);
                m_pos = end;
            } else if (c.isDigit()) {
                m_pos = skip(m_pos, isIdentifierChar);
            } else {
                ++m_pos;
            }
        }
    }

    // --- PHP.

    // The end of the PHP being read: ?> after <?php, the closing tag after
    // {zuvi:php}.
    QLatin1String phpEnd() const
    {
        return m_state.phpEnd == 0 ? QLatin1String("?>") : kPhpTags[m_state.phpEnd - 1].closer;
    }
    // The template engine cuts {zuvi:php} blocks at their closing tag
    // wherever it stands, in strings and comments too; ?> ends PHP code and
    // line comments only.
    bool phpCutHere() const { return m_state.phpEnd != 0 && at(phpEnd()); }
    void leavePhp()
    {
        addAndSkip(phpEnd().size(), m_state.phpEnd == 0 ? Kind::Keyword : Kind::TemplateTag);
        m_state.context = m_state.outer;
        m_state.outer = Context::Markup;
        m_state.phpEnd = 0;
    }

    void php()
    {
        while (m_pos < m_line.size() && m_state.context == Context::Php) {
            const QChar c = peek();
            if (at(phpEnd())) {
                leavePhp();
            } else if (c == u'#' || at(QLatin1String("//"))) {
                const qsizetype start = m_pos;
                while (m_pos < m_line.size() && !at(phpEnd()))
                    ++m_pos;
                add(start, m_pos, Kind::Comment);
            } else if (at(QLatin1String("/*"))) {
                addAndSkip(2, Kind::Comment);
                m_state.context = Context::PhpComment;
            } else if (c == u'\'' || c == u'"') {
                addAndSkip(1, Kind::String);
                m_state.context = c == u'"' ? Context::PhpDouble : Context::PhpSingle;
            } else if (c == u'$' && isIdentifierStart(peek(1))) {
                addAndSkip(skip(m_pos + 1, isIdentifierChar) - m_pos, Kind::Variable);
            } else if (isIdentifierStart(c)) {
                const qsizetype end = skip(m_pos, isIdentifierChar);
                if (isOneOf(m_line.sliced(m_pos, end - m_pos), kPhpKeywords, true))
                    add(m_pos, end, Kind::Keyword);
                m_pos = end;
            } else if (c.isDigit()) {
                m_pos = skip(m_pos, isIdentifierChar);
            } else {
                ++m_pos;
            }
        }
    }

    // A block comment or a string, which may go on over lines.
    void phpRun()
    {
        const Context context = m_state.context;
        const Kind kind = context == Context::PhpComment ? Kind::Comment : Kind::String;
        const QChar quote = context == Context::PhpDouble ? u'"' : u'\'';
        qsizetype start = m_pos;
        while (m_pos < m_line.size()) {
            if (phpCutHere()) {
                add(start, m_pos, kind);
                leavePhp();
                return;
            }
            const QChar c = peek();
            if (context == Context::PhpComment) {
                if (at(QLatin1String("*/"))) {
                    m_pos += 2;
                    add(start, m_pos, kind);
                    m_state.context = Context::Php;
                    return;
                }
            } else if (c == u'\\') {
                m_pos = qMin(m_pos + 2, m_line.size());
                continue;
            } else if (c == quote) {
                ++m_pos;
                add(start, m_pos, kind);
                m_state.context = Context::Php;
                return;
            } else if (context == Context::PhpDouble && c == u'$' && isIdentifierStart(peek(1))) {
                // "$name" is the variable's value.
                add(start, m_pos, kind);
                addAndSkip(skip(m_pos + 1, isIdentifierChar) - m_pos, Kind::Variable);
                start = m_pos;
                continue;
            }
            ++m_pos;
        }
        add(start, m_pos, kind);
    }

    QStringView m_line;
    State m_state;
    QList<TemplateToken> &m_tokens;
    qsizetype m_offset;
    qsizetype m_pos = 0;
    // The selector just read starts an at-rule whose block holds rules.
    bool m_groupingPrelude = false;
};

bool startsAsPhpSource(QStringView line)
{
    const QStringView text = line.trimmed();
    if (text.size() > 1 && text[0] == u'$' && isIdentifierStart(text[1]))
        return true;
    qsizetype end = 0;
    while (end < text.size() && (isAsciiLetter(text[end]) || text[end] == u'_'))
        ++end;
    const QStringView word = text.first(end);
    const QStringView rest = text.sliced(end);
    if (isOneOf(word, kPhpControlStarts))
        return rest.trimmed().startsWith(u'(');
    return isOneOf(word, kPhpStatementStarts) && !rest.isEmpty() && rest[0].isSpace();
}

int tokenizeLine(QStringView line, int state, QList<TemplateToken> &tokens, qsizetype offset)
{
    State start = State::unpack(state);
    if (state == kTextStart && startsAsPhpSource(line))
        start.context = Context::Php;
    return LineReader(line, start, tokens, offset).read().pack();
}

} // namespace

int tokenizeTemplateLine(QStringView line, int state, QList<TemplateToken> &tokens)
{
    return tokenizeLine(line, state, tokens, 0);
}

QList<TemplateToken> tokenizeTemplate(QStringView text)
{
    QList<TemplateToken> tokens;
    int state = kTextStart;
    qsizetype start = 0;
    for (;;) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        state = tokenizeLine(text.sliced(start, end - start), state, tokens, start);
        if (end == text.size())
            return tokens;
        start = end + (text.sliced(end).startsWith(u"\r\n") ? 2 : 1);
    }
}
