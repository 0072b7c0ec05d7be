#pragma once

#include <QLatin1String>
#include <QStringView>

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>

// The facts of the CMS's template syntax that every reader of templates
// shares: which names start a template tag, what makes a closing tag, where
// a placeholder and its filters end, which tags hold PHP. The colouring
// tokenizer and the template parser both read templates through these, so
// that they cannot disagree.
namespace templatesyntax {

inline constexpr QLatin1String kTagPrefix("zuvi:");

// Whether an ASCII word is one of `words` (sorted), optionally ignoring case.
template <size_t N>
bool isOneOf(QStringView word, const std::string_view (&words)[N], bool ignoreCase = false)
{
    char buffer[16];
    if (word.isEmpty() || word.size() > qsizetype(sizeof buffer))
        return false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const char16_t c = word[i].unicode();
        if (c > 0x7f)
            return false;
        buffer[i] = char(ignoreCase && c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    const std::string_view ascii(buffer, size_t(word.size()));
    return std::binary_search(std::begin(words), std::end(words), ascii);
}

// Inline, and one look-up in a table of the ASCII characters instead of a
// chain of comparisons: the parser asks these of nearly every character of
// a tag it reads.
namespace ascii {
enum Class : quint8 { Letter = 1, Digit = 2, Underscore = 4, AttributePunctuation = 8 };
inline constexpr auto kClasses = [] {
    std::array<quint8, 128> classes{};
    for (char c = 'a'; c <= 'z'; ++c)
        classes[size_t(c)] = classes[size_t(c - 'a' + 'A')] = Letter;
    for (char c = '0'; c <= '9'; ++c)
        classes[size_t(c)] = Digit;
    classes['_'] = Underscore;
    classes['-'] = classes[':'] = classes['.'] = AttributePunctuation;
    return classes;
}();
// Whether `c` is ASCII of one of `classes`, or (with `beyondAscii`) not ASCII.
inline bool is(QChar c, quint8 classes, bool beyondAscii)
{
    const char16_t u = c.unicode();
    return u < 0x80 ? (kClasses[u] & classes) != 0 : beyondAscii;
}
} // namespace ascii

inline bool isAsciiLetter(QChar c)
{
    return ascii::is(c, ascii::Letter, false);
}

inline bool isIdentifierStart(QChar c)
{
    return ascii::is(c, ascii::Letter | ascii::Underscore, true);
}

inline bool isIdentifierChar(QChar c)
{
    return ascii::is(c, ascii::Letter | ascii::Underscore | ascii::Digit, true);
}

// What an attribute name of a template tag is made of.
inline bool isAttributeChar(QChar c)
{
    return ascii::is(c, ascii::Letter | ascii::Underscore | ascii::Digit | ascii::AttributePunctuation, true);
}

inline bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r';
}

// Whether `text` starts with "zuvi:"; compared in line, without a call
// into Qt's general string comparison.
inline bool hasTagPrefix(QStringView text)
{
    // The prefix's UTF-16 units, so that the comparison is of a few words.
    static constexpr auto units = [] {
        std::array<char16_t, kTagPrefix.size()> prefix{};
        for (size_t i = 0; i < prefix.size(); ++i)
            prefix[i] = char16_t(kTagPrefix[qsizetype(i)].unicode());
        return prefix;
    }();
    return text.size() >= qsizetype(units.size()) && std::equal(units.begin(), units.end(), text.utf16());
}

// The end of a template tag's name starting at `from` in `text` ("zuvi:" and
// an identifier, or one of the plain names the engine knows such as
// "volist" or "if"), or `from` when no tag name starts there.
qsizetype tagNameEnd(QStringView text, qsizetype from);

// Whether a character may follow an opening tag's name: a blank, '/', '}'
// or the end of the text.
inline bool mayFollowTagName(QChar c)
{
    return c.isNull() || c.isSpace() || c == u'/' || c == u'}';
}

// What starts at a '{' of a template.
struct TagStart {
    enum class Kind : quint8 {
        None,          // plain text
        Opening,       // {zuvi:name followed by a blank, '/', '}' or the end
        Closing,       // {/zuvi:name}, the brace right after the name
        Placeholder,   // {$
    };
    Kind kind = Kind::None;
    qsizetype nameStart = 0;   // Opening, Closing
    qsizetype nameEnd = 0;
};
// Inline: the parser asks it at every brace, half of which open placeholders.
inline TagStart tagStartAt(QStringView text, qsizetype at)
{
    const auto charAt = [&](qsizetype i) { return i < text.size() ? text[i] : QChar(); };
    TagStart start;
    if (charAt(at) != u'{')
        return start;
    if (charAt(at + 1) == u'$') {
        start.kind = TagStart::Kind::Placeholder;
        return start;
    }
    const bool closing = charAt(at + 1) == u'/';
    start.nameStart = at + 1 + closing;
    start.nameEnd = tagNameEnd(text, start.nameStart);
    if (start.nameEnd == start.nameStart)
        return start;
    const QChar after = charAt(start.nameEnd);
    if (closing ? after == u'}' : mayFollowTagName(after))
        start.kind = closing ? TagStart::Kind::Closing : TagStart::Kind::Opening;
    return start;
}

// A placeholder {$variable|filter|filter…}: the variable ends at the first
// '|', '}' or line break after `from`; a filter starting at `from` (after
// its '|') at the next '|' or '}' outside quotes, or at a line break. A
// placeholder never goes on over a line break.
qsizetype placeholderVariableEnd(QStringView text, qsizetype from);
qsizetype placeholderFilterEnd(QStringView text, qsizetype from);

// {zuvi:else /} and {zuvi:elseif … /}: they divide the block they stand
// in, and mean nothing outside one.
bool isElseTag(QStringView name);

// Template tags whose content is PHP, with the text that closes them.
struct PhpTag {
    QLatin1String name;
    QLatin1String closer;
};
inline constexpr PhpTag kPhpTags[] = {
    {QLatin1String("zuvi:php"), QLatin1String("{/zuvi:php}")},
    {QLatin1String("php"), QLatin1String("{/php}")},
};
// The index in kPhpTags of the tag named `name`, or -1.
int phpTagIndex(QStringView name);

} // namespace templatesyntax
