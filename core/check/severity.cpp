#include "core/check/severity.h"

#include <QStringList>

#include <iterator>

namespace {

constexpr bool rowsInOrder()
{
    for (std::size_t i = 0; i < std::size(kSeverities); ++i) {
        if (kSeverities[i].severity != Severity(i))
            return false;
    }
    return true;
}
static_assert(rowsInOrder(), "namesOf() finds a severity's row by its value");

} // namespace

QString severityName(Severity severity)
{
    return QString::fromLatin1(namesOf(severity).name);
}

std::optional<Severity> severityNamed(QStringView name)
{
    for (const SeverityNames &row : kSeverities) {
        if (name == QLatin1StringView(row.name))
            return row.severity;
    }
    return std::nullopt;
}

QString severityNames(QStringView separator)
{
    QStringList names;
    for (const SeverityNames &row : kSeverities)
        names << QLatin1StringView(row.name);
    return names.join(separator);
}
