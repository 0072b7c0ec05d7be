#pragma once

#include "core/template/textposition.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <optional>
#include <utility>

// Positions as the protocol counts them: lines and characters from 0, the
// characters in the unit the client and the server agreed on at start.
enum class PositionEncoding { Utf8, Utf16, Utf32 };

// The first of the client's `general.positionEncodings` (its order of
// preference) that the server knows; UTF-16, which every client speaks,
// where it offers none.
PositionEncoding negotiatePositionEncoding(const QJsonArray &offered);
QString positionEncodingName(PositionEncoding encoding);   // "utf-8", "utf-16", "utf-32"

// Offsets into one text as protocol positions and ranges, and back.
class PositionMapper
{
public:
    PositionMapper(const LineIndex &lines, PositionEncoding encoding) : m_lines(lines), m_encoding(encoding) {}

    // A position as the protocol counts it: line and character from 0.
    struct Place {
        qsizetype line = 0;
        qsizetype character = 0;
    };
    Place place(qsizetype offset) const;
    QJsonObject position(qsizetype offset) const;
    QJsonObject range(qsizetype start, qsizetype length) const;
    // Nothing when the JSON is not a position or range.
    std::optional<qsizetype> offset(const QJsonValue &position) const;
    std::optional<std::pair<qsizetype, qsizetype>> range(const QJsonValue &range) const;   // start and end

private:
    ColumnUnit unit() const;

    const LineIndex &m_lines;
    PositionEncoding m_encoding;
};
