#include "core/theme/themeusage.h"

#include "core/check/checkrules.h"
#include "core/files/localetext.h"
#include "core/files/rawbytes.h"
#include "core/theme/themeentries.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

bool isUnusedTemplate(const ThemeIndex &index, const QString &path)
{
    if (!index.find(path) || isEntryTemplate(index.relativePath(path)))
        return false;
    const QList<ThemeLinkAt> includes = index.includesOf(path);
    // A template that includes itself is no more used for it.
    return std::none_of(includes.cbegin(), includes.cend(), [&](const ThemeLinkAt &at) { return at.source != path; });
}

QStringList unusedTemplates(const ThemeIndex &index)
{
    QStringList unused;
    for (const QString &path : index.templates()) {
        if (isUnusedTemplate(index, path))
            unused << path;
    }
    return unused;
}

Finding unusedTemplateFinding(const ThemeIndex &index, const QString &path)
{
    const QString shown = localeText(rawBytesFromText(index.relativePath(path)));
    return findingOf(Check::TemplateNeverIncluded, 0, 0, u"模板 %1 没有被其他模板引用，CMS 也不会直接加载它"_s.arg(shown));
}

CheckedThemes::Theme &CheckedThemes::load(const QString &templateRoot, const QString &siteRoot)
{
    const QString root = QDir::cleanPath(QFileInfo(templateRoot).absoluteFilePath());
    auto it = m_themes.find(root);
    if (it == m_themes.end()) {
        auto theme = std::make_unique<Theme>(Theme{ThemeIndex(root, siteRoot), {}});
        theme->index.build();
        const QStringList unused = unusedTemplates(theme->index);
        theme->unused = QSet<QString>(unused.cbegin(), unused.cend());
        it = m_themes.emplace(root, std::move(theme)).first;
    }
    return *it->second;
}

const ThemeIndex &CheckedThemes::theme(const QString &templateRoot, const QString &siteRoot)
{
    return load(templateRoot, siteRoot).index;
}

QList<Finding> CheckedThemes::unusedFindings(const QString &path, const QString &templateRoot, const QString &siteRoot)
{
    const Theme &theme = load(templateRoot, siteRoot);
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (!theme.unused.contains(clean))
        return {};
    return {unusedTemplateFinding(theme.index, clean)};
}

QList<const ThemeIndex *> CheckedThemes::themes() const
{
    QList<const ThemeIndex *> list;
    for (const auto &[root, theme] : m_themes)
        list << &theme->index;
    return list;
}
