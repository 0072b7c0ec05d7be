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

private:
    QStringView m_text;
    QList<qsizetype> m_lineStarts;
};
