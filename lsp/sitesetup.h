#pragma once

#include "core/check/checksession.h"
#include "lsp/documents.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// The files the server checks with: the documents open in the editor, as
// they stand, over the disk.
class EditorFiles : public TemplateFiles
{
public:
    explicit EditorFiles(const DocumentStore &documents) : m_documents(documents) {}
    std::optional<QString> openText(const QString &path) const override;

private:
    const DocumentStore &m_documents;
};

// What a document is checked with: the rules of the `.zuvi-check.json` that
// governs it, found as the check command finds it, and what follows.
struct SiteSetup {
    std::shared_ptr<const SiteRules> rules;
    bool ignored = false;   // the configuration leaves the document out
    CheckContext context;

    const TagKnowledge &knowledge() const { return *rules->knowledge; }
    // "path:line:column: what" of a faulty configuration; empty for a sound one.
    const QString &configError() const { return rules->error; }
    // The findings with the configured severities.
    QList<Finding> configured(QList<Finding> findings) const;
};

// The server's check session over the documents open in the editor: each
// configuration read again when it changes on disk or in the editor.
// Without a configuration naming one, includes are looked up under the
// innermost workspace folder that holds the document, else under its own
// folder.
class SiteSetups
{
public:
    // `files` outlives the setups.
    explicit SiteSetups(const TemplateFiles &files);

    void setWorkspaceFolders(QStringList folders) { m_folders = std::move(folders); }
    const QStringList &workspaceFolders() const { return m_folders; }

    // For the document at `path` (empty for one that is not a file).
    SiteSetup forDocument(const QString &path);

private:
    QString workspaceFolderOf(const QString &path) const;

    CheckSession m_session;
    QStringList m_folders;
};
