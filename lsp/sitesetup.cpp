#include "lsp/sitesetup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Whether `path` lies in `folder` (or is it).
bool isInside(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder.endsWith(u'/') ? folder : folder + u'/');
}

// A catalog knowledge shared by every document without site tags; the
// catalog's own is a static and lives as long as the program.
std::shared_ptr<const TagKnowledge> catalogKnowledge()
{
    return std::shared_ptr<const TagKnowledge>(&TagKnowledge::catalog(), [](const TagKnowledge *) {});
}

} // namespace

QList<Finding> SiteSetup::configured(QList<Finding> findings) const
{
    if (ignored)
        return {};
    return config ? config->applySeverities(std::move(findings)) : findings;
}

SiteSetups::SiteSetups(OpenText openText, FileExists fileExists)
    : m_openText(std::move(openText)),
      // An include names a file: a folder of that name is not one (an open document never is a folder).
      m_fileExists([exists = std::move(fileExists)](const QString &path) { return exists(path) && !QFileInfo(path).isDir(); }),
      m_catalog(catalogKnowledge())
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
    setup.knowledge = m_catalog;
    setup.context.fileExists = m_fileExists;
    if (path.isEmpty())
        return setup;
    const QString configPath = CheckConfig::find(path);
    if (!configPath.isEmpty()) {
        const QFileInfo info(configPath);
        const std::optional<QString> openText = m_openText(configPath);
        Cached &cached = m_cache[configPath];
        if (cached.modified != info.lastModified() || cached.size != info.size() || cached.openText != openText
            || !cached.knowledge) {
            cached = Cached{info.lastModified(), info.size(), openText, std::nullopt, QString(), m_catalog};
            QByteArray json;
            if (openText) {
                json = openText->toUtf8();
            } else {
                QFile file(configPath);
                if (file.open(QIODevice::ReadOnly))
                    json = file.readAll();
            }
            cached.config = CheckConfig::parse(json, configPath, &cached.error);
            if (cached.config && !cached.config->siteTags.isEmpty())
                cached.knowledge = std::make_shared<const TagKnowledge>(TagKnowledge::catalog().withSiteTags(cached.config->siteTags));
        }
        setup.config = cached.config;
        setup.configError = cached.error;
        setup.knowledge = cached.knowledge;
    }
    if (setup.config) {
        setup.ignored = setup.config->ignores(path);
        setup.context.siteTags = setup.config->siteTags;
        // Made once per configuration above, not again for each check.
        setup.context.knowledge = setup.knowledge.get();
        setup.context.templateRoot = setup.config->templateRoot;
        setup.context.siteRoot = setup.config->siteRoot;
    }
    if (setup.context.templateRoot.isEmpty()) {
        const QString folder = workspaceFolderOf(path);
        setup.context.templateRoot = folder.isEmpty() ? QFileInfo(path).absolutePath() : folder;
    }
    return setup;
}
