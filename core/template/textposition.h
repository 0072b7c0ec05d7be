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

// Positions of offsets asked in increasing order, each found by walking on
// from the one before: a report of many findings on one long line counts
// that line once, where LineIndex::position counts every column from the
// line's start. Keeps no index of the lines.
class ForwardPositions
{
public:
    ForwardPositions(QStringView text, ColumnUnit unit) : m_text(text), m_unit(unit) {}

    // The position of UTF-16 offset `offset` (clamped to the text), as
    // LineIndex::position gives it. An offset before the one asked last
    // starts the walk again from the text's start.
    TextPosition position(qsizetype offset);

private:
    QStringView m_text;
    ColumnUnit m_unit;
    qsizetype m_offset = 0;      // the offset asked last
    qsizetype m_line = 1;
    qsizetype m_lineStart = 0;
    qsizetype m_column = 0;      // at m_offset, from 0
};
