#include "core/check/checksession.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The catalog's own knowledge lives as long as the program: shared, not owned.
std::shared_ptr<const TagKnowledge> catalogKnowledge()
{
    return std::shared_ptr<const TagKnowledge>(&TagKnowledge::catalog(), [](const TagKnowledge *) {});
}

std::shared_ptr<const SiteRules> rulesFrom(std::optional<CheckConfig> config, QString error = {})
{
    auto rules = std::make_shared<SiteRules>();
    rules->knowledge = config && !config->siteTags.isEmpty()
        ? std::make_shared<const TagKnowledge>(TagKnowledge::catalog().withSiteTags(config->siteTags))
        : catalogKnowledge();
    rules->config = std::move(config);
    rules->error = std::move(error);
    return rules;
}

} // namespace

CheckSession::CheckSession(const QString &configFile)
    : CheckSession(TemplateFiles::disk(), Freshness::Snapshot, configFile)
{
}

CheckSession::CheckSession(const TemplateFiles &files, Freshness freshness, const QString &configFile)
    : m_files(files), m_freshness(freshness),
      m_configFile(configFile.isEmpty() ? QString() : QFileInfo(configFile).absoluteFilePath()),
      m_defaults(rulesFrom(CheckConfig()))
{
}

bool CheckSession::isFile(const QString &path)
{
    if (m_freshness == Freshness::Live)
        return m_files.isFile(path);
    auto known = m_isFile.constFind(path);
    if (known == m_isFile.cend())
        known = m_isFile.insert(path, m_files.isFile(path));
    return *known;
}

std::shared_ptr<const SiteRules> CheckSession::read(const QString &path)
{
    auto it = m_read.find(path);
    if (it != m_read.end() && m_freshness == Freshness::Snapshot)
        return it->second.rules;
    // A live session compares the stamp first: an unchanged file is not parsed again.
    TemplateFiles::Stamp stamp = m_freshness == Freshness::Live ? m_files.stamp(path) : TemplateFiles::Stamp();
    if (it != m_read.end() && it->second.stamp == stamp)
        return it->second.rules;
    QString error;
    std::optional<CheckConfig> config;
    if (const std::optional<QByteArray> json = m_files.bytes(path, &error))
        config = CheckConfig::parse(*json, path, &error);
    Read fresh{std::move(stamp), rulesFrom(std::move(config), std::move(error))};
    return m_read.insert_or_assign(path, std::move(fresh)).first->second.rules;
}

// In a snapshot each folder is asked once, and each of its parents once for
// every file below: a theme of hundreds of files in a few folders costs a
// few lookups. A live session walks up each time, a few questions to the
// files, as a configuration may have come or gone.
QString CheckSession::configPathFor(const QString &folder)
{
    const bool snapshot = m_freshness == Freshness::Snapshot;
    if (snapshot) {
        const auto known = m_configPathOfFolder.constFind(folder);
        if (known != m_configPathOfFolder.cend())
            return *known;
    }
    QString found;
    const QString candidate = QDir(folder).filePath(QLatin1String(CheckConfig::kFileName));
    if (isFile(candidate)) {
        found = candidate;
    } else {
        const QString parent = QFileInfo(folder).path();
        if (parent != folder)
            found = configPathFor(parent);
    }
    if (snapshot)
        m_configPathOfFolder.insert(folder, found);
    return found;
}

std::shared_ptr<const SiteRules> CheckSession::rulesFor(const QString &file)
{
    const QString path = m_configFile.isEmpty() ? configPathFor(QFileInfo(file).absolutePath()) : m_configFile;
    return path.isEmpty() ? m_defaults : read(path);
}

const CheckConfig *CheckSession::configFor(const QString &file, QString *error)
{
    const std::shared_ptr<const SiteRules> rules = rulesFor(file);
    if (!rules->config && error)
        *error = rules->error;
    // Kept by the session: by m_defaults or m_read.
    return rules->config ? &*rules->config : nullptr;
}

const SiteRules *CheckSession::rulesOf(const CheckConfig &config) const
{
    if (&config == &*m_defaults->config)
        return m_defaults.get();
    const auto it = m_read.find(config.path);
    if (it != m_read.end() && it->second.rules->config && &*it->second.rules->config == &config)
        return it->second.rules.get();
    return nullptr;
}

CheckContext CheckSession::contextFor(const SiteRules &rules, const QString &templateRoot)
{
    CheckContext context;
    context.knowledge = rules.knowledge.get();
    if (rules.config) {
        context.templateRoot = rules.config->templateRoot;
        context.siteRoot = rules.config->siteRoot;
    }
    if (context.templateRoot.isEmpty())
        context.templateRoot = templateRoot;
    context.fileExists = [this](const QString &path) { return isFile(path); };
    return context;
}

IncludeGraph &CheckSession::includeGraph(const CheckContext &context)
{
    const QString key = context.templateRoot + u'\n' + context.siteRoot;
    auto it = m_includeGraphs.find(key);
    // What a live session's files include may have changed since: read again.
    if (it != m_includeGraphs.end() && m_freshness == Freshness::Live)
        m_includeGraphs.erase(std::exchange(it, m_includeGraphs.end()));
    if (it != m_includeGraphs.end())
        return it->second;
    // A file not yet checked is read as the checker reads it, its includes
    // resolved under the same roots; one that cannot be read includes nothing.
    CheckContext roots;
    roots.templateRoot = context.templateRoot;
    roots.siteRoot = context.siteRoot;
    roots.fileExists = context.fileExists;
    IncludeGraph::ReadIncludes read = [this, context = std::move(roots)](const QString &file) {
        QStringList includes;
        const std::optional<QString> text = m_files.templateText(file);
        if (!text)
            return includes;
        for (const FileReference &reference : fileReferences(*text, parseTemplate(*text), context)) {
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
    const SiteRules *rules = rulesOf(config);
    std::shared_ptr<const SiteRules> own;   // a configuration the session did not read
    if (!rules)
        rules = (own = rulesFrom(config)).get();
    CheckContext context = contextFor(*rules, templateRoot);
    if (!file.isEmpty()) {
        IncludeGraph &graph = includeGraph(context);
        const QString path = QDir::cleanPath(QFileInfo(file).absoluteFilePath());
        context.includeCycles = [&graph, path](const QStringList &includes) { return graph.cycles(path, includes); };
    }
    return config.applySeverities(checkTemplate(text, context));
}
