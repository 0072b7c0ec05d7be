#pragma once

#include "core/templateblocks.h"
#include "core/templateparser.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

// Checks a whole template against what the tool knows of the CMS's tags
// (core/tagknowledge.h): blocks left open or crossed, stray closing tags,
// tags, values and placeholders left open, unknown tag names and near-miss
// attributes, words where numbers go, included files that do not exist.
// Qt Core only: the command line and the language server share it.

enum class Severity { Error, Warning, Info };

struct Finding {
    QString code;             // stable, e.g. "E101"; docs/checks.md describes each
    Severity severity = Severity::Error;
    qsizetype start = 0;      // UTF-16 offset into the checked text
    qsizetype length = 0;     // of the range the finding is about (0 allowed)
    QString message;          // one line, Chinese, with the names in it
    // The quick fix, where one is obvious: `replacement` put over the range
    // fixStart..fixStart + fixLength. For a misspelled name that range is the
    // finding's own; a missing closing tag is inserted where its block ends
    // (fixLength 0); a stray closing tag is replaced by nothing.
    QString replacement;
    qsizetype fixStart = -1;  // -1: no quick fix
    qsizetype fixLength = 0;

    bool hasFix() const { return fixStart >= 0; }
    friend bool operator==(const Finding &, const Finding &) = default;
};

// What each code finds: its severity before any configuration, and one line
// saying what it finds (SARIF's rule descriptions).
struct CheckRule {
    QString code;
    Severity severity = Severity::Error;
    QString summary;
};
const QList<CheckRule> &checkRules();   // in order of their codes

// A tag of the site's own, declared in the configuration: it then counts as known.
struct SiteTag {
    QString name;             // without the "zuvi:" prefix (a name given with it is taken as it is)
    bool block = false;
    QStringList attributes;
};

struct CheckContext {
    QList<SiteTag> siteTags;
    // Where {zuvi:include file=…} and {zuvi:static file=…} look: a relative
    // path under templateRoot, a path starting with '/' under siteRoot. An
    // empty root leaves such paths unchecked.
    QString templateRoot;
    QString siteRoot;
    // Whether an absolute path names an existing file; QFileInfo by default.
    // The language server answers for documents open but not yet saved.
    std::function<bool(const QString &path)> fileExists;
};

// Every finding of the text, in order of position, after inline suppression
// (<!-- zuvi-check-disable-next-line CODE… -->, disable / enable regions).
// Severities are the codes' own; the configuration may change them later.
QList<Finding> checkTemplate(QStringView text, const CheckContext &context);

// A file a template names: each path of {zuvi:include file=…}, {include
// file=…}, {zuvi:static file=…} or {zuvi:static href=…}, a comma-separated
// list naming several. Where the checker looks for it is where the language
// server's links lead.
struct FileReference {
    qsizetype node = -1;   // the tag
    TextRange path;        // the path as written, a "?v=…" or "#…" after it left out
    // Relative under templateRoot, starting with '/' under siteRoot; empty
    // when that root is not set.
    QString resolved;
};
// Every file the text names, in order; values that are expressions name none.
QList<FileReference> fileReferences(QStringView text, const ParsedTemplate &parsed, const CheckContext &context);

// A template read, paired into blocks and checked, for a reader that needs
// more than the findings (the language server's outline, folding, matching
// and completion) without reading the text twice.
struct TemplateAnalysis {
    ParsedTemplate parsed;
    TemplateBlocks blocks;
    QList<Finding> findings;   // as checkTemplate gives them
};
TemplateAnalysis analyseTemplate(QStringView text, const CheckContext &context);
