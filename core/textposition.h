#pragma once

#include <QList>
#include <QStringView>

// Lines and columns of offsets into a text, as editors and compilers count
// them: lines from 1, broken at CR LF, LF or CR; columns from 1, in one of
// three units.
enum class ColumnUnit {
    Display,   // as GCC counts by default: East Asian wide characters two, combining marks none, a tab to the next multiple of 8
    Byte,      // UTF-8 bytes
    Utf16,     // UTF-16 code units
    CodePoint, // Unicode code points (UTF-32 units)
};

struct TextPosition {
    qsizetype line = 1;
    qsizetype column = 1;
};

class LineIndex
{
public:
    explicit LineIndex(QStringView text);

    // The position of UTF-16 offset `offset` (clamped to the text).
    TextPosition position(qsizetype offset, ColumnUnit unit) const;
    // The UTF-16 offset of a position: a line past the last is the end of
    // the text, a column past the line's end is that end (before its line
    // break), a column inside a character is that character's start.
    qsizetype offset(TextPosition position, ColumnUnit unit) const;

    qsizetype lineCount() const { return m_lineStarts.size(); }

private:
    qsizetype lineEnd(qsizetype line) const;   // 0-based line; before its line break

    QStringView m_text;
    QList<qsizetype> m_lineStarts;
};
