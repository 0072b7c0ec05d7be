#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

class PageView;

// The operations every tag page shares.

// The text form of a snippet: every line followed by CR LF, the last one too.
QString snippetText(const QStringList &lines);

// Replaces the output box text with the snippet's text form.
void writeSnippet(PageView &view, const QStringList &lines);

// Puts the whole output box text on the clipboard, whatever it holds.
void copyToClipboard(PageView &view);

// Selects entry `index` and clears every other entry 0..H of the page,
// whatever container holds it.
void selectExclusively(PageView &view, qint16 index);

// A number as a user would type it: blanks around it, an optional sign,
// digits with at most one decimal point and at least one digit, and an
// optional exponent (E or e, optional sign, digits). ASCII digits only.
bool isNumeric(QStringView text);

// " name='text'" when the text is non-empty and numeric, else nothing. The
// text goes in exactly as typed: never trimmed, never reformatted.
QString numericFragment(QStringView name, const QString &text);
