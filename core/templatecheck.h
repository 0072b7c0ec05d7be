#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include "core/templateparser.h"

#include <functional>

// Checks a whole template against what the tool knows of the CMS's tags:
// blocks left open or crossed, stray closing tags, unknown tag names and
// near-miss attributes, words where numbers go, included files that do not
// exist. Qt Core only: the command line and the language server share it.

enum class Severity { Error, Warning, Info };

struct Finding {
    QString code;             // stable, e.g. "E101"; docs/checks.md describes each
    Severity severity = Severity::Error;
    qsizetype start = 0;      // UTF-16 offset into the checked text
    qsizetype length = 0;     // of the range the finding is about (0 allowed)
    QString message;          // one line, Chinese, with the names in it
    QString replacement;      // what a quick fix puts over the range, where there is one
};

// A tag of the site's own, declared in the configuration: it then counts as known.
struct SiteTag {
    QString name;             // without the "zuvi:" prefix
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

// A file that {zuvi:include file=…} or {zuvi:static file=…} names, each path
// of a comma-separated list: a relative path under the template root, one
// starting with '/' under the site root. A value that is an expression, and
// a path whose root the context does not give, name none.
struct IncludedFile {
    TextRange range;       // of the path, in the text
    TextRange attribute;   // of the whole value, quotes included
    QString path;          // absolute
};
QList<IncludedFile> includedFiles(QStringView text, const TemplateNode &tag, const CheckContext &context);

// Every finding of the text, in order of position, after inline suppression
// (<!-- zuvi-check-disable-next-line CODE… -->, disable / enable regions).
// Severities are the codes' own; the configuration may change them later.
QList<Finding> checkTemplate(QStringView text, const CheckContext &context);
