#include "core/catalog/numeric.h"

bool isNumeric(QStringView text)
{
    qsizetype pos = 0;
    const qsizetype end = text.size();
    auto isDigit = [&](qsizetype p) { return p < end && text[p] >= u'0' && text[p] <= u'9'; };
    auto skipDigits = [&] {
        const qsizetype start = pos;
        while (isDigit(pos))
            ++pos;
        return pos - start;
    };

    while (pos < end && text[pos] == u' ')
        ++pos;
    if (pos < end && (text[pos] == u'+' || text[pos] == u'-'))
        ++pos;
    qsizetype digits = skipDigits();
    if (pos < end && text[pos] == u'.') {
        ++pos;
        digits += skipDigits();
    }
    if (digits == 0)
        return false;
    if (pos < end && (text[pos] == u'e' || text[pos] == u'E')) {
        ++pos;
        if (pos < end && (text[pos] == u'+' || text[pos] == u'-'))
            ++pos;
        if (skipDigits() == 0)
            return false;
    }
    while (pos < end && text[pos] == u' ')
        ++pos;
    return pos == end;
}

QString numericFragmentBefore(QStringView name)
{
    return u' ' + name.toString() + QStringLiteral("='");
}

QString numericFragmentAfter()
{
    return QStringLiteral("'");
}

QString numericFragment(QStringView name, const QString &text)
{
    if (text.isEmpty() || !isNumeric(text))
        return {};
    return numericFragmentBefore(name) + text + numericFragmentAfter();
}
