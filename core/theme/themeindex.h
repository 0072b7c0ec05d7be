#pragma once

#include "core/template/templateparser.h"

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

// A block a template opens ({zuvi:arclist …} … {/zuvi:arclist}), for the
// language server's list of the theme's symbols.
struct ThemeBlock {
    QString tag;            // the name as written ("zuvi:arclist")
    TextRange name;         // UTF-16 offsets of the name in its opening tag
    qsizetype line = 0;     // of the name's start, counted as ThemeLink counts
    qsizetype column = 0;
    friend bool operator==(const ThemeBlock &, const ThemeBlock &) = default;
};

// What the index keeps of each template: the paths it names, which the
// checker needs, and its blocks too, which only the language server asks
// for and which cost a pairing of the tags more.
enum class ThemeContents { Links, LinksAndBlocks };

struct ThemeTemplate {
    QString path;             // absolute
    QList<ThemeLink> links;   // in order of position
    QList<ThemeBlock> blocks; // in order of their opening tags; empty for ThemeContents::Links
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
    explicit ThemeIndex(const QString &templateRoot, const QString &siteRoot = {},
                        ThemeContents contents = ThemeContents::Links);

    // Reads every *.htm and *.html under the template root, as `check`
    // finds them in a folder; a file that cannot be read or decoded is a
    // template that names nothing. What the index held before is dropped.
    void build();

    // Whether `path` is a template of this theme: an *.htm or *.html file
    // (any case) under the template root, in no hidden folder.
    bool isThemeTemplate(const QString &path) const;

    // A template's text changed (an open document) or was written. True
    // where what it names changed, or it is new to the index: the others'
    // findings about the theme (W303) may change with it.
    bool setText(const QString &path, QStringView text);
    // A template created or saved on disk: read from there.
    void readFile(const QString &path);
    // A folder created, or moved in: every template under it read.
    void readFolder(const QString &path);
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
    ThemeTemplate read(const QString &path, QStringView text) const;

    QString m_templateRoot;
    QString m_siteRoot;
    ThemeContents m_contents;
    QHash<QString, ThemeTemplate> m_templates;
};

// Whether `path` is `folder` itself or lies under it (both clean, absolute).
bool isAtOrUnder(QStringView path, QStringView folder);
