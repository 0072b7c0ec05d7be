#pragma once

#include "core/checkconfig.h"
#include "core/tagknowledge.h"
#include "core/templatecheck.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

// What a document is checked with: the `.zuvi-check.json` found by walking
// up from its path, as the check command finds it, and what follows from it.
struct SiteSetup {
    std::optional<CheckConfig> config;   // none where no file is found, or it is faulty
    QString configError;                 // "path:line:column: what" of a faulty file
    bool ignored = false;                // the configuration leaves the document out
    CheckContext context;
    std::shared_ptr<const TagKnowledge> knowledge;   // the catalog's and the site's own tags

    // The findings with the configured severities.
    QList<Finding> configured(QList<Finding> findings) const;
};

// Finds and reads configurations, each file read again only when it
// changed. Without a configuration naming one, includes are looked up under
// the innermost workspace folder that holds the document, else under its
// own folder.
class SiteSetups
{
public:
    // The text of a file the client holds open, or nothing; and whether a
    // path names a file, open documents counted.
    using OpenText = std::function<std::optional<QString>(const QString &path)>;
    using FileExists = std::function<bool(const QString &path)>;
    SiteSetups(OpenText openText, FileExists fileExists);

    void setWorkspaceFolders(QStringList folders) { m_folders = std::move(folders); }
    const QStringList &workspaceFolders() const { return m_folders; }

    // For the document at `path` (empty for one that is not a file).
    SiteSetup forDocument(const QString &path);

private:
    struct Cached {
        QDateTime modified;
        qint64 size = -1;
        std::optional<QString> openText;
        std::optional<CheckConfig> config;
        QString error;
        std::shared_ptr<const TagKnowledge> knowledge;
    };

    QString workspaceFolderOf(const QString &path) const;

    OpenText m_openText;
    FileExists m_fileExists;
    QStringList m_folders;
    QHash<QString, Cached> m_cache;   // by configuration path
    std::shared_ptr<const TagKnowledge> m_catalog;
};
