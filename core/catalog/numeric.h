#pragma once

#include <QString>
#include <QStringView>

// The rule by which a parameter box's text enters a builder's opening tag.

// A number as a user would type it: blanks around it, an optional sign,
// digits with at most one decimal point and at least one digit, and an
// optional exponent (E or e, optional sign, digits). ASCII digits only.
bool isNumeric(QStringView text);

// " name='text'" when the text is non-empty and numeric, else nothing. The
// text goes in exactly as typed: never trimmed, never reformatted.
QString numericFragment(QStringView name, const QString &text);

// What the fragment writes before and after the text: " name='" and "'".
QString numericFragmentBefore(QStringView name);
QString numericFragmentAfter();
