#include "core/checksession.h"

#include "core/rawbytes.h"

#include "core/templatefile.h"

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

const TagKnowledge *CheckSession::knowledgeOf(const CheckConfig &config)
{
    // Only a configuration read from its file is known to stay the same.
    if (config.siteTags.isEmpty() || config.path.isEmpty())
        return nullptr;
    auto it = m_knowledge.find(config.path);
    if (it == m_knowledge.end())
        it = m_knowledge.emplace(config.path, TagKnowledge::catalog().withSiteTags(config.siteTags)).first;
    return &it->second;
}

IncludeGraph &CheckSession::includeGraph(const CheckContext &context)
{
    const QString key = context.templateRoot + u'\n' + context.siteRoot;
    auto it = m_includeGraphs.find(key);
    if (it != m_includeGraphs.end())
        return it->second;
    // A file not yet checked is read as the checker reads it, its includes
    // resolved under the same roots; one that cannot be read includes nothing.
    CheckContext roots;
    roots.templateRoot = context.templateRoot;
    roots.siteRoot = context.siteRoot;
    roots.fileExists = context.fileExists;
    IncludeGraph::ReadIncludes read = [context = std::move(roots)](const QString &file) {
        QString error;
        const std::optional<DecodedTemplate> decoded = readTemplateFile(rawBytesFromText(file), &error);
        QStringList includes;
        if (!decoded)
            return includes;
        for (const FileReference &reference : fileReferences(decoded->text, parseTemplate(decoded->text), context)) {
            if (reference.include && !reference.resolved.isEmpty() && !reference.outsideRoot
                && context.fileExists(reference.resolved))
                includes.append(reference.resolved);
        }
        return includes;
    };
    return m_includeGraphs.emplace(key, IncludeGraph(std::move(read))).first->second;
}

QList<Finding> CheckSession::check(QStringView text, const CheckConfig &config, const QString &templateRoot,
                                   const QString &file)
{
    CheckContext context;
    context.siteTags = config.siteTags;
    context.knowledge = knowledgeOf(config);
    context.templateRoot = config.templateRoot.isEmpty() ? templateRoot : config.templateRoot;
    context.siteRoot = config.siteRoot;
    context.fileExists = [this](const QString &path) {
        auto known = m_fileExists.constFind(path);
        if (known == m_fileExists.cend())
            known = m_fileExists.insert(path, QFileInfo(path).isFile());
        return *known;
    };
    if (!file.isEmpty()) {
        IncludeGraph &graph = includeGraph(context);
        const QString path = QDir::cleanPath(QFileInfo(file).absoluteFilePath());
        context.includeCycles = [&graph, path](const QStringList &includes) { return graph.cycles(path, includes); };
    }
    return config.applySeverities(checkTemplate(text, context));
}
