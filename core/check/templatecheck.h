#pragma once

#include "core/check/severity.h"
#include "core/template/templateblocks.h"
#include "core/template/templateparser.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

// Checks a whole template against what the tool knows of the CMS's tags
// (core/catalog/tagknowledge.h): blocks left open or crossed, stray closing tags,
// tags, values and placeholders left open, unknown tag names and near-miss
// attributes, words where numbers go, included files that do not exist.
// Qt Core only: the command line and the language server share it.

// A change to the checked text: `text` put over start..start + length.
struct TextEdit {
    qsizetype start = 0;
    qsizetype length = 0;
    QString text;
    friend bool operator==(const TextEdit &, const TextEdit &) = default;
};

struct Finding {
    QString code;             // stable, e.g. "E101": the code of its check (core/check/checkrules.h)
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

// Lists of findings grow by moving their bytes, not by copying each into a
// new block while the old one is still held.
Q_DECLARE_TYPEINFO(TextEdit, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(Finding, Q_RELOCATABLE_TYPE);

// A tag of the site's own, declared in the configuration: it then counts as known.
struct SiteTag {
    QString name;             // without the "zuvi:" prefix (a name given with it is taken as it is)
    bool block = false;
    QStringList attributes;
};

class TagKnowledge;

struct CheckContext {
    // What is known of the tags: the catalog with the site's own tags in it,
    // made once per configuration by its keeper (CheckSession); the
    // catalog's alone where null.
    const TagKnowledge *knowledge = nullptr;
    // Where {zuvi:include file=…} and {zuvi:static file=…} look: a relative
    // path under templateRoot, a path starting with '/' under siteRoot. An
    // empty root leaves such paths unchecked.
    QString templateRoot;
    QString siteRoot;
    // Whether an absolute path names a file; TemplateFiles::disk() by
    // default. The session answers from its files, so that the language
    // server counts documents open but not yet saved.
    std::function<bool(const QString &path)> fileExists;
    // For the files the checked text includes (absolute paths, in order),
    // the include cycle each closes back to the checked file: the files on
    // the way, the checked file first and last; empty where an include
    // closes none. Unset: cycles are not looked for (CheckSession sets it).
    std::function<QList<QStringList>(const QStringList &includes)> includeCycles;
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
    // The path as written, a "?v=…" or "#…" after it left out; empty, where
    // the attribute's value is, for a value that names no file at all.
    TextRange path;
    // Absolute and clean: relative under templateRoot, starting with '/'
    // under siteRoot; empty when that root is not set.
    QString resolved;
    // `resolved` lies outside its root ("../../etc/passwd"): not looked at.
    bool outsideRoot = false;
    bool include = false;  // named by an include, which the engine reads as a template
};
Q_DECLARE_TYPEINFO(FileReference, Q_RELOCATABLE_TYPE);
// Whether the attribute of the tag (names as written) names a file:
// include's file, zuvi:static's file and href.
bool namesFile(QStringView tag, QStringView attribute);
// Every file the text names, in order; values that are expressions name none.
// The root named by `context`, absolute and clean, is where a path must stay.
QList<FileReference> fileReferences(QStringView text, const ParsedTemplate &parsed, const CheckContext &context);
// The same handed to `take` one by one, for a reader that keeps none of them.
void forEachFileReference(QStringView text, const ParsedTemplate &parsed, const CheckContext &context,
                          const std::function<void(const FileReference &)> &take);

// A template read, paired into blocks and checked, for a reader that needs
// more than the findings (the language server's outline, folding, matching
// and completion) without reading the text twice.
struct TemplateAnalysis {
    ParsedTemplate parsed;
    TemplateBlocks blocks;
    QList<Finding> findings;   // as checkTemplate gives them
};
TemplateAnalysis analyseTemplate(QStringView text, const CheckContext &context);
