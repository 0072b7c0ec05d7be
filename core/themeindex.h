#pragma once

#include "core/templateparser.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// Every template of a theme and the files each one names: its includes
// ({zuvi:include file=…}, {include file=…}) and its static files
// ({zuvi:static file=… / href=…}), found as the checker finds them
// (fileReferences). Built once from the template root, then kept current
// one file at a time: the language server feeds it the open documents'
// texts and the files the client sees created, deleted and renamed.

enum class ThemeLinkKind { Include, Static };

// One path a template names, where it stands in the template's text.
struct ThemeLink {
    ThemeLinkKind kind = ThemeLinkKind::Include;
    TextRange path;     // UTF-16 offsets of the path as written
    qsizetype line = 0;     // of the path's start, from 0
    qsizetype column = 0;   // in UTF-16 code units, from 0, as the language server counts
    QString written;    // the path as written ("inc/head.htm")
    QString target;     // absolute and clean; empty where its root is not known
    friend bool operator==(const ThemeLink &, const ThemeLink &) = default;
};

struct ThemeTemplate {
    QString path;             // absolute
    QList<ThemeLink> links;   // in order of position
};

// A link and the template it stands in.
struct ThemeLinkAt {
    QString source;
    ThemeLink link;
};

class ThemeIndex
{
public:
    // Relative paths are taken under `templateRoot`, paths starting with '/'
    // under `siteRoot` (empty: such paths lead nowhere).
    explicit ThemeIndex(const QString &templateRoot, const QString &siteRoot = {});

    // Reads every *.htm and *.html under the template root, as `check`
    // finds them in a folder; a file that cannot be read or decoded is a
    // template that names nothing. What the index held before is dropped.
    void build();

    // Whether `path` is a template of this theme: an *.htm or *.html file
    // (any case) under the template root, in no hidden folder.
    bool isThemeTemplate(const QString &path) const;

    // A template's text changed (an open document) or was written.
    void setText(const QString &path, QStringView text);
    // A template created or saved on disk: read from there.
    void readFile(const QString &path);
    // A file or folder deleted: every template at or under `path` goes.
    void remove(const QString &path);
    // A file or folder renamed: the templates at or under `from` are taken
    // to stand under `to` (their texts do not change).
    void rename(const QString &from, const QString &to);

    QString templateRoot() const { return m_templateRoot; }
    QString siteRoot() const { return m_siteRoot; }
    // The template's path relative to the template root, with '/'.
    QString relativePath(const QString &path) const;

    // Every template, sorted by path.
    QStringList templates() const;
    // The template at `path`; null where the index holds none.
    const ThemeTemplate *find(const QString &path) const;
    // Every link whose target is `path` or, for a folder, lies under it, in
    // order of source and position.
    QList<ThemeLinkAt> linksTo(const QString &path) const;
    // Every include of the file `path`, in the same order.
    QList<ThemeLinkAt> includesOf(const QString &path) const;

    qsizetype size() const { return m_templates.size(); }

private:
    QList<ThemeLink> linksOf(QStringView text) const;

    QString m_templateRoot;
    QString m_siteRoot;
    QHash<QString, ThemeTemplate> m_templates;
};

// Whether `path` is `folder` itself or lies under it (both clean, absolute).
bool isAtOrUnder(QStringView path, QStringView folder);
