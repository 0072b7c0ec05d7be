#include "lsp/positions.h"

#include <QJsonValue>

#include <optional>
#include <utility>

namespace {

struct EncodingName {
    PositionEncoding encoding;
    QLatin1StringView name;
};
constexpr EncodingName kEncodings[] = {
    {PositionEncoding::Utf8, QLatin1StringView("utf-8")},
    {PositionEncoding::Utf16, QLatin1StringView("utf-16")},
    {PositionEncoding::Utf32, QLatin1StringView("utf-32")},
};

// A non-negative whole number that fits, as the protocol's uinteger.
std::optional<qsizetype> count(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number < 0 || number > 2147483647.0 || number != double(qint64(number)))
        return std::nullopt;
    return qsizetype(number);
}

} // namespace

PositionEncoding negotiatePositionEncoding(const QJsonArray &offered)
{
    for (const QJsonValue &value : offered) {
        for (const EncodingName &known : kEncodings) {
            if (value.toString() == known.name)
                return known.encoding;
        }
    }
    return PositionEncoding::Utf16;
}

QString positionEncodingName(PositionEncoding encoding)
{
    for (const EncodingName &known : kEncodings) {
        if (known.encoding == encoding)
            return known.name;
    }
    return QStringLiteral("utf-16");
}

ColumnUnit PositionMapper::unit() const
{
    switch (m_encoding) {
    case PositionEncoding::Utf8:
        return ColumnUnit::Byte;
    case PositionEncoding::Utf16:
        return ColumnUnit::Utf16;
    case PositionEncoding::Utf32:
        return ColumnUnit::CodePoint;
    }
    return ColumnUnit::Utf16;
}

PositionMapper::Place PositionMapper::place(qsizetype offset) const
{
    const TextPosition p = m_lines.position(offset, unit());
    return {p.line - 1, p.column - 1};
}

QJsonObject PositionMapper::position(qsizetype offset) const
{
    const Place p = place(offset);
    return {{QStringLiteral("line"), double(p.line)}, {QStringLiteral("character"), double(p.character)}};
}

QJsonObject PositionMapper::range(qsizetype start, qsizetype length) const
{
    return {{QStringLiteral("start"), position(start)}, {QStringLiteral("end"), position(start + length)}};
}

std::optional<qsizetype> PositionMapper::offset(const QJsonValue &position) const
{
    const auto line = count(position[QLatin1StringView("line")]);
    const auto character = count(position[QLatin1StringView("character")]);
    if (!line || !character)
        return std::nullopt;
    return m_lines.offset({*line + 1, *character + 1}, unit());
}

std::optional<std::pair<qsizetype, qsizetype>> PositionMapper::range(const QJsonValue &range) const
{
    const auto start = offset(range[QLatin1StringView("start")]);
    const auto end = offset(range[QLatin1StringView("end")]);
    if (!start || !end || *end < *start)
        return std::nullopt;
    return std::pair{*start, *end};
}
