#pragma once

#include <QString>
#include <QStringList>
#include <ostream>

// Readable QString values in GoogleTest messages, with CR and LF made visible.
inline void PrintTo(const QString &text, std::ostream *os)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r"), QStringLiteral("\\r")).replace(QStringLiteral("\n"), QStringLiteral("\\n"));
    *os << '"' << shown.toStdString() << '"';
}

inline void PrintTo(const QStringList &lines, std::ostream *os)
{
    *os << '[';
    for (const QString &line : lines) {
        PrintTo(line, os);
        *os << ", ";
    }
    *os << ']';
}
