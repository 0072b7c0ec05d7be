#pragma once

#include "core/check/templatecheck.h"

#include <QByteArray>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

// A site's `.zuvi-check.json`: where includes are looked up, which files are
// not checked, the severity of each code, and the site's own tags. Found by
// walking up from a checked file; the command line and the language server
// read it alike.
//
//   {
//     "templateRoot": "template/default",     // relative to the file
//     "siteRoot": "..",
//     "ignore": ["old/**", "*.bak.htm"],
//     "severity": {"W1": "off", "W301": "error"},
//     "tags": [{"name": "mylist", "block": true, "attributes": ["row"]}]
//   }
struct CheckConfig {
    static constexpr const char *kFileName = ".zuvi-check.json";
    // An ignore pattern longer than this is refused: a glob is made a
    // regular expression, whose size has a limit of its own.
    static constexpr qsizetype kMaxPatternLength = 1000;

    QString path;            // of the file read; empty for the defaults
    QString templateRoot;    // absolute; empty where the file names none
    QString siteRoot;        // absolute; empty where the file names none
    QStringList ignore;      // globs, relative to the file's folder, as written
    // Code or code prefix -> severity, nothing for "off"; the longest
    // matching prefix wins.
    QList<std::pair<QString, std::optional<Severity>>> severities;
    QList<SiteTag> siteTags;

    // Reads a configuration's text; `path` is where it lies. On a fault
    // returns nothing and says, in `error`, "path:line:column: what".
    static std::optional<CheckConfig> parse(const QByteArray &json, const QString &path, QString *error);
    // The nearest configuration file in the folder of `file` or above it;
    // empty where there is none.
    static QString find(const QString &file);

    // Whether `file` (absolute) is one of the ignored files.
    bool ignores(const QString &file) const;
    // The findings with their configured severities; those turned off gone.
    QList<Finding> applySeverities(QList<Finding> findings) const;

private:
    QList<QRegularExpression> m_ignoreExpressions;   // `ignore` compiled once, as it is read
};

// --select and --ignore of the command line: codes or code prefixes.
struct CodeSelection {
    QStringList select;   // empty: every code
    QStringList ignore;

    bool accepts(const QString &code) const;
};
