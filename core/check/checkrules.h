#pragma once

#include "core/check/templatecheck.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The checks of the template checker, each declared once: its code, its
// severity before any configuration, a one-line Chinese summary and what
// its quick fix does (checkrules.cpp). The title and the description are
// read from docs/checks.md (compiled in as a resource), so that the page
// people read and the rule descriptions in reports are one text: a section
// "## E101 block never closed" describes code E101.
enum class Check {
    BlockNeverClosed,               // E101
    ClosingTagWithNothingOpen,      // E102
    ClosingTagCrossesAnOpenBlock,   // E103
    ElseOutsideEveryBlock,          // E104
    TagNeverClosed,                 // E201
    QuotedValueNeverClosed,         // E202
    PlaceholderNeverClosed,         // E203
    IncludeCycle,                   // E301
    UnknownTag,                     // W101
    NearMissOfAnAttribute,          // W102
    AttributeGivenTwice,            // W103
    WordWhereANumberGoes,           // W201
    IncludedFileMissing,            // W301
    FileOutsideItsRoot,             // W302
    TemplateNeverIncluded,          // W303
};

struct CheckRule {
    QString code;          // "E101"
    Severity severity = Severity::Error;   // before any configuration
    QString summary;       // "块标签没有闭合"
    QString fix;           // what the quick fix does; empty: the check offers none
    QString title;         // "block never closed"
    QString description;   // the section's Markdown, without its heading
};

// Every check, in the order of their codes.
const QList<CheckRule> &checkRules();
const CheckRule &checkRule(Check check);
// Every code, in order.
QStringList checkCodes();
// Whether `prefix` is a code or the start of one ("W1"), as the
// configuration and --select name them.
bool startsSomeCode(QStringView prefix);

// A finding of `check`, with its code and its severity before any
// configuration.
Finding findingOf(Check check, qsizetype start, qsizetype length, const QString &message);

// A section of a Markdown text laid out as docs/checks.md: a heading
// "## CODE title" and the text up to the next heading.
struct CheckSection {
    QString code;
    QString title;
    QString description;
};
// The sections of `markdown` whose headings start with a code (a letter
// E, W or I and digits), in the text's order.
QList<CheckSection> checkSectionsOf(QStringView markdown);
