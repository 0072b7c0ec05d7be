#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Helpers shared by the fuzz targets: cutting an input into text fields and
// stopping loudly when a property fails, so that libFuzzer keeps the input.

// The input cut at 0xFF bytes (which never occur in UTF-8) into exactly
// `count` fields; missing fields are empty, surplus bytes join the last one.
inline QList<QByteArray> fuzzFields(const uint8_t *data, size_t size, int count)
{
    QList<QByteArray> fields(count);
    int field = 0;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && field + 1 < count)
            ++field;
        else
            fields[field].append(char(data[i]));
    }
    return fields;
}

// A drop-down text: a field of one control byte picks a list item, so that
// the fuzzer reaches every item at once; any other field is taken as typed.
inline QString fuzzChoice(const QByteArray &field, const QStringList &items)
{
    if (field.size() == 1 && uchar(field[0]) < 0x20)
        return items[uchar(field[0]) % items.size()];
    return QString::fromUtf8(field);
}

inline QString fuzzShown(const QString &text)
{
    QString shown = text.left(400);
    shown.replace(QStringLiteral("\r"), QStringLiteral("\\r")).replace(QStringLiteral("\n"), QStringLiteral("\\n"));
    return QStringLiteral("\"%1\"%2").arg(shown, text.size() > 400 ? QStringLiteral("...") : QString());
}

inline void fuzzCheck(bool holds, const char *property, const QString &detail = {})
{
    if (holds)
        return;
    std::fprintf(stderr, "property failed: %s\n%s\n", property, detail.toUtf8().constData());
    std::abort();
}
