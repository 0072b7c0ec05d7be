#include "core/template/textposition.h"

#include "core/template/textscan.h"

#include <QChar>

#include <unicode/uchar.h>

#include <algorithm>
#include <utility>

namespace {

constexpr qsizetype kTabStop = 8;

bool isWide(char32_t c)
{
    const int width = u_getIntPropertyValue(UChar32(c), UCHAR_EAST_ASIAN_WIDTH);
    return width == U_EA_WIDE || width == U_EA_FULLWIDTH;
}

qsizetype displayWidth(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_Enclosing:
        return 0;
    default:
        break;
    }
    return isWide(c) ? 2 : 1;
}

// The code point at `i` and the UTF-16 units it takes (a lone surrogate
// is one of its own).
std::pair<char32_t, qsizetype> codePointAt(QStringView text, qsizetype i)
{
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return {QChar::surrogateToUcs4(text[i], text[i + 1]), 2};
    return {text[i].unicode(), 1};
}

qsizetype utf8Length(char32_t c)
{
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

// How far a character moves the column that stands at `column`.
qsizetype advance(char32_t c, qsizetype units, qsizetype column, ColumnUnit unit)
{
    switch (unit) {
    case ColumnUnit::Utf16:
        return column + units;
    case ColumnUnit::CodePoint:
        return column + 1;
    case ColumnUnit::Byte:
        return column + utf8Length(c);
    case ColumnUnit::Display:
        if (c == U'\t')
            return (column / kTabStop + 1) * kTabStop;
        // ASCII is narrow and has no marks: no need to ask ICU.
        return column + (c < 0x80 ? 1 : displayWidth(c));
    }
    return column + 1;
}

// The column, from 0, at the end of `span`, when its start is at `column`.
qsizetype columnAfter(QStringView span, qsizetype column, ColumnUnit unit)
{
    if (unit == ColumnUnit::Utf16)
        return column + span.size();
    for (qsizetype i = 0; i < span.size();) {
        // ASCII other than a tab is one column in every unit: most of a line.
        if (span[i].unicode() < 0x80 && span[i] != u'\t') {
            ++column;
            ++i;
            continue;
        }
        const auto [c, units] = codePointAt(span, i);
        column = advance(c, units, column, unit);
        i += units;
    }
    return column;
}

} // namespace

LineIndex::LineIndex(QStringView text) : m_text(text)
{
    m_lineStarts << 0;
    for (qsizetype i = nextOfAny(text, 0, u'\n', u'\r'); i < text.size(); i = nextOfAny(text, i, u'\n', u'\r')) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        m_lineStarts << ++i;
    }
}


TextPosition LineIndex::position(qsizetype offset, ColumnUnit unit) const
{
    offset = std::clamp<qsizetype>(offset, 0, m_text.size());
    const auto next = std::upper_bound(m_lineStarts.cbegin(), m_lineStarts.cend(), offset);
    const qsizetype line = next - m_lineStarts.cbegin();
    const qsizetype start = m_lineStarts[line - 1];
    return {line, columnAfter(m_text.sliced(start, offset - start), 0, unit) + 1};
}

TextPosition ForwardPositions::position(qsizetype offset)
{
    offset = std::clamp<qsizetype>(offset, 0, m_text.size());
    if (offset < m_offset) {
        m_offset = m_lineStart = m_column = 0;
        m_line = 1;
    }
    // Asked last between the halves of a pair: the pair counts whole now.
    qsizetype from = m_offset;
    bool fromLineStart = false;
    if (from > m_lineStart && from < offset && m_text[from].isLowSurrogate() && m_text[from - 1].isHighSurrogate()) {
        from = m_lineStart;
        fromLineStart = true;
    }
    // The line breaks passed on the way; a CR LF split by `offset` ends its
    // line only once the LF is passed too.
    const QStringView ahead = m_text.first(offset);
    for (qsizetype i = nextOfAny(ahead, from, u'\n', u'\r'); i < offset; i = nextOfAny(ahead, i, u'\n', u'\r')) {
        const qsizetype after = m_text[i] == u'\r' && i + 1 < m_text.size() && m_text[i + 1] == u'\n' ? i + 2 : i + 1;
        if (after > offset)
            break;
        ++m_line;
        m_lineStart = from = i = after;
        fromLineStart = true;
    }
    m_column = columnAfter(m_text.sliced(from, offset - from), fromLineStart ? 0 : m_column, m_unit);
    m_offset = offset;
    return {m_line, m_column + 1};
}

qsizetype LineIndex::lineEnd(qsizetype line) const
{
    qsizetype end = line + 1 < m_lineStarts.size() ? m_lineStarts[line + 1] : m_text.size();
    if (end > m_lineStarts[line] && m_text[end - 1] == u'\n')
        --end;
    if (end > m_lineStarts[line] && m_text[end - 1] == u'\r')
        --end;
    return end;
}

qsizetype LineIndex::offset(TextPosition position, ColumnUnit unit) const
{
    if (position.line < 1)
        return 0;
    if (position.line > m_lineStarts.size())
        return m_text.size();
    const qsizetype line = position.line - 1;
    const qsizetype end = lineEnd(line);
    qsizetype i = m_lineStarts[line];
    if (unit == ColumnUnit::Utf16) {
        i = std::min(i + std::max<qsizetype>(position.column - 1, 0), end);
        // Not between the two halves of a pair.
        if (i > m_lineStarts[line] && i < end && m_text[i].isLowSurrogate() && m_text[i - 1].isHighSurrogate())
            --i;
        return i;
    }
    qsizetype column = 0;
    while (i < end) {
        const auto [c, units] = codePointAt(m_text, i);
        const qsizetype next = advance(c, units, column, unit);
        if (next > position.column - 1)
            break;
        column = next;
        i += units;
    }
    return i;
}
