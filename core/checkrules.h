#pragma once

#include "core/templatecheck.h"

#include <QList>
#include <QString>
#include <QStringView>

// What each code of the checker means. The code, its severity and its
// one-line Chinese summary are the checker's own; the title and the
// description are read from docs/checks.md (compiled in as a resource), so
// that the page people read and the rule descriptions in reports are one
// text. A section "## E101 block never closed" describes code E101.
struct CheckRule {
    QString code;
    Severity severity = Severity::Error;   // before any configuration
    QString summary;       // "块标签没有闭合"
    QString title;         // "block never closed"
    QString description;   // the section's Markdown, without its heading
};

// Every code the checker gives, in the order of their codes.
const QList<CheckRule> &checkRules();

// The sections of a Markdown text laid out as docs/checks.md, in the text's
// order; the first letter of a code gives the severity, the summary is empty.
QList<CheckRule> checkRulesOf(QStringView markdown);
