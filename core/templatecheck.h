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

// A change to the checked text: `text` put over start..start + length.
struct TextEdit {
    qsizetype start = 0;
    qsizetype length = 0;
    QString text;
    friend bool operator==(const TextEdit &, const TextEdit &) = default;
};

struct Finding {
    QString code;             // stable, e.g. "E101"; docs/checks.md describes each
    Severity severity = Severity::Error;
    qsizetype start = 0;      // UTF-16 offset into the checked text
    qsizetype length = 0;     // of the range the finding is about (0 allowed)
    QString message;          // one line, Chinese, with the names in it
    // What the quick fix puts in, where one is obvious: the suggested name,
    // the missing closing tag or quote; empty for a fix that removes.
    QString replacement = {};
    // The quick fix's edits, to be made together; apart and in order of
    // position. A misspelled tag name is mended in its closing tag too; a
    // missing closing tag goes where its block ends; a stray closing tag is
    // removed. Empty where there is no quick fix.
    QList<TextEdit> fix = {};

    bool hasFix() const { return !fix.isEmpty(); }
    friend bool operator==(const Finding &, const Finding &) = default;
};

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
// Whether the attribute of the tag (names as written) names a file:
// include's file, zuvi:static's file and href.
bool namesFile(QStringView tag, QStringView attribute);
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
