#include "core/textposition.h"

#include <QChar>

#include <unicode/uchar.h>

#include <algorithm>

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

} // namespace

LineIndex::LineIndex(QStringView text) : m_text(text)
{
    m_lineStarts << 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            m_lineStarts << i + 1;
        } else if (text[i] == u'\n') {
            m_lineStarts << i + 1;
        }
    }
}

TextPosition LineIndex::position(qsizetype offset, ColumnUnit unit) const
{
    offset = std::clamp<qsizetype>(offset, 0, m_text.size());
    const auto next = std::upper_bound(m_lineStarts.cbegin(), m_lineStarts.cend(), offset);
    const qsizetype line = next - m_lineStarts.cbegin();
    const QStringView before = m_text.sliced(m_lineStarts[line - 1], offset - m_lineStarts[line - 1]);
    qsizetype column = 0;
    switch (unit) {
    case ColumnUnit::Utf16:
        column = before.size();
        break;
    case ColumnUnit::Byte:
        column = before.toUtf8().size();
        break;
    case ColumnUnit::Display:
        for (qsizetype i = 0; i < before.size(); ++i) {
            char32_t c = before[i].unicode();
            if (QChar::isHighSurrogate(c) && i + 1 < before.size() && before[i + 1].isLowSurrogate()) {
                c = QChar::surrogateToUcs4(before[i], before[i + 1]);
                ++i;
            }
            column = c == U'\t' ? (column / kTabStop + 1) * kTabStop : column + displayWidth(c);
        }
        break;
    }
    return {line, column + 1};
}
