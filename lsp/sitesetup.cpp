#include "lsp/sitesetup.h"

#include <QFileInfo>

namespace {

// Whether `path` lies in `folder` (or is it).
bool isInside(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder.endsWith(u'/') ? folder : folder + u'/');
}

} // namespace

std::optional<QString> EditorFiles::openText(const QString &path) const
{
    if (const TextDocument *document = m_documents.findPath(path))
        return document->text();
    return std::nullopt;
}

QList<Finding> SiteSetup::configured(QList<Finding> findings) const
{
    if (ignored)
        return {};
    return rules->config ? rules->config->applySeverities(std::move(findings)) : findings;
}

SiteSetups::SiteSetups(const TemplateFiles &files) : m_session(files, CheckSession::Freshness::Live)
{
}

QString SiteSetups::workspaceFolderOf(const QString &path) const
{
    QString innermost;
    for (const QString &folder : m_folders) {
        if (isInside(path, folder) && folder.size() > innermost.size())
            innermost = folder;
    }
    return innermost;
}

SiteSetup SiteSetups::forDocument(const QString &path)
{
    SiteSetup setup;
    if (path.isEmpty()) {
        // Not a file: no configuration, and no root to look includes up under.
        setup.rules = m_session.defaultRules();
        setup.context = m_session.contextFor(*setup.rules, QString());
        return setup;
    }
    setup.rules = m_session.rulesFor(path);
    setup.ignored = setup.rules->config && setup.rules->config->ignores(path);
    const QString folder = workspaceFolderOf(path);
    setup.context = m_session.contextFor(*setup.rules, folder.isEmpty() ? QFileInfo(path).absolutePath() : folder);
    return setup;
}
