#pragma once

#include "core/theme/themeindex.h"
#include "lsp/positions.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>

// What the server answers from a whole theme: every include of a file
// (textDocument/references) and the paths to change when a file or folder
// is renamed (workspace/willRenameFiles). One index per template root, read
// on first use and kept current from the open documents and the files the
// client reports created, deleted and renamed.
class ThemeFeatures
{
public:
    // The text of a document the client holds open, or nothing.
    using OpenText = std::function<std::optional<QString>(const QString &path)>;
    using UriOf = std::function<QString(const QString &path)>;

    ThemeFeatures(OpenText openText, UriOf uriOf) : m_openText(std::move(openText)), m_uriOf(std::move(uriOf)) {}

    // The workspace.fileOperations capability: told of every file and
    // folder renamed, before (for the edits) and after.
    static QJsonObject fileOperations();

    // The theme under `templateRoot`; null where no root is known.
    ThemeIndex *theme(const QString &templateRoot, const QString &siteRoot);
    // Every theme read so far, in order of template root.
    QList<const ThemeIndex *> themes() const;
    // A template's text as the client holds it, else as the disk has it.
    QString textOf(const QString &path) const;

    // A document's text as the client holds it, or as the disk has it once
    // it is closed or a file or folder is created or saved. textChanged is
    // true where the files the template names changed (see
    // ThemeIndex::setText).
    bool textChanged(const QString &path, const QString &text);
    void fileOnDisk(const QString &path);
    void deleted(const QString &path);
    void renamed(const QString &from, const QString &to);

    // Locations of every include of the file the include at `offset` of the
    // document at `path` names; null where none stands there.
    QJsonValue references(ThemeIndex &theme, const QString &path, qsizetype offset, PositionEncoding encoding) const;
    // The edits of one template's paths.
    struct FileEdits {
        QString path;
        QJsonArray edits;   // TextEdit objects, in order of position
    };
    struct PathEdits {
        QList<FileEdits> files;   // in order of path
        // Templates with a path that cannot name the new place from the
        // root it is read under (a '/' path of a file moved out of the site root).
        QStringList unreachable;
    };
    // The edits that make every include and static path naming `from` (a
    // file, or anything under a folder) name `to` instead, each written as
    // it was: from the site root with a '/', else under the template root.
    // `outside`: the links of a document the index does not hold (no
    // template's name, or outside the root), after the index's own.
    PathEdits pathEdits(const ThemeIndex &theme, const QString &from, const QString &to, PositionEncoding encoding,
                        const QList<ThemeLinkAt> &outside = {}) const;
    // The same as the changes of a WorkspaceEdit, by URI, added to `changes`.
    void renameEdits(ThemeIndex &theme, const QString &from, const QString &to, PositionEncoding encoding,
                     QJsonObject &changes) const;

private:
    QJsonObject range(const QString &path, const ThemeLink &link, PositionEncoding encoding) const;

    OpenText m_openText;
    UriOf m_uriOf;
    std::map<QString, std::unique_ptr<ThemeIndex>> m_themes;   // by template root
};
