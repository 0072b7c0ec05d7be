#pragma once

#include "core/templatecheck.h"

#include <QList>
#include <QString>
#include <QStringView>

// What each code of the checker means, read from docs/checks.md (compiled in
// as a resource), so that the page people read and the rule descriptions in
// reports are one text. A section "## E101 block never closed" describes
// code E101; the first letter of a code is its severity.
struct CheckRule {
    QString code;
    Severity severity = Severity::Error;
    QString title;         // "block never closed"
    QString description;   // the section's Markdown, without its heading
};

// Every rule of docs/checks.md, in the page's order.
const QList<CheckRule> &checkRules();

// The rules of a Markdown text laid out as docs/checks.md.
QList<CheckRule> checkRulesOf(QStringView markdown);
