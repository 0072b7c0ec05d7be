#include "core/checksession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

CheckSession::CheckSession(const QString &configFile)
    : m_configFile(configFile.isEmpty() ? QString() : QFileInfo(configFile).absoluteFilePath())
{
}

const CheckSession::Loaded &CheckSession::load(const QString &path)
{
    auto it = m_loaded.find(path);
    if (it != m_loaded.end())
        return it->second;
    Loaded loaded;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        loaded.error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
    else
        loaded.config = CheckConfig::parse(file.readAll(), path, &loaded.error);
    return m_loaded.emplace(path, std::move(loaded)).first->second;
}

// Each folder is asked once, and each of its parents once for every file
// below: a theme of hundreds of files in a few folders costs a few lookups.
QString CheckSession::configPathFor(const QString &folder)
{
    const auto known = m_configPathOfFolder.constFind(folder);
    if (known != m_configPathOfFolder.cend())
        return *known;
    QString found;
    const QString candidate = QDir(folder).filePath(QLatin1String(CheckConfig::kFileName));
    if (QFileInfo(candidate).isFile()) {
        found = candidate;
    } else {
        const QString parent = QFileInfo(folder).path();
        if (parent != folder)
            found = configPathFor(parent);
    }
    m_configPathOfFolder.insert(folder, found);
    return found;
}

const CheckConfig *CheckSession::configFor(const QString &file, QString *error)
{
    const QString path = m_configFile.isEmpty() ? configPathFor(QFileInfo(file).absolutePath()) : m_configFile;
    if (path.isEmpty())
        return &m_defaults;
    const Loaded &loaded = load(path);
    if (!loaded.config && error)
        *error = loaded.error;
    return loaded.config ? &*loaded.config : nullptr;
}

QList<Finding> CheckSession::check(QStringView text, const CheckConfig &config, const QString &templateRoot)
{
    CheckContext context;
    context.siteTags = config.siteTags;
    context.templateRoot = config.templateRoot.isEmpty() ? templateRoot : config.templateRoot;
    context.siteRoot = config.siteRoot;
    context.fileExists = [this](const QString &path) {
        auto known = m_fileExists.constFind(path);
        if (known == m_fileExists.cend())
            known = m_fileExists.insert(path, QFileInfo::exists(path));
        return *known;
    };
    return config.applySeverities(checkTemplate(text, context));
}
