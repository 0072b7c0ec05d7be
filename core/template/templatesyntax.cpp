#include "core/template/templatesyntax.h"

#include "core/template/textscan.h"

#include <algorithm>
#include <iterator>
#include <string_view>

using namespace Qt::StringLiterals;

namespace templatesyntax {

namespace {

// Template tags without the zuvi: prefix that the CMS's template engine
// understands, sorted.
constexpr std::string_view kPlainTags[] = {
    "assign", "between", "case", "default", "defined", "egt", "else", "elseif", "elt", "empty", "eq", "for",
    "foreach", "gt", "heq", "if", "in", "include", "lt", "neq", "nheq", "notbetween", "notdefined",
    "notempty", "notin", "notpresent", "php", "present", "range", "switch", "volist",
};
static_assert(std::is_sorted(std::begin(kPlainTags), std::end(kPlainTags)));

bool isPlainTag(QStringView word)
{
    return isOneOf(word, kPlainTags);
}

} // namespace

qsizetype tagNameEnd(QStringView text, qsizetype from)
{
    const QStringView rest = text.sliced(from);
    qsizetype end = from;
    if (hasTagPrefix(rest) && rest.size() > kTagPrefix.size() && isIdentifierStart(rest[kTagPrefix.size()])) {
        end = from + kTagPrefix.size();
        while (end < text.size() && isIdentifierChar(text[end]))
            ++end;
        return end;
    }
    while (end < text.size() && isAsciiLetter(text[end]))
        ++end;
    return isPlainTag(text.sliced(from, end - from)) ? end : from;
}

qsizetype placeholderVariableEnd(QStringView text, qsizetype from)
{
    return nextOfAny(text, from, u'|', u'}', u'\n', u'\r');
}

qsizetype placeholderFilterEnd(QStringView text, qsizetype from)
{
    QChar quote;
    for (; from < text.size() && !isLineBreak(text[from]); ++from) {
        const QChar c = text[from];
        if (!quote.isNull())
            quote = c == quote ? QChar() : quote;
        else if (c == u'\'' || c == u'"')
            quote = c;
        else if (c == u'}' || c == u'|')
            break;
    }
    return from;
}

bool isElseTag(QStringView name)
{
    if (hasTagPrefix(name))
        name = name.sliced(kTagPrefix.size());
    return name == "else"_L1 || name == "elseif"_L1;
}

int phpTagIndex(QStringView name)
{
    for (size_t i = 0; i < std::size(kPhpTags); ++i) {
        if (name == kPhpTags[i].name)
            return int(i);
    }
    return -1;
}

} // namespace templatesyntax
