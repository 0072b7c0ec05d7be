#include "core/themeusage.h"

#include "core/checkrules.h"
#include "core/localetext.h"
#include "core/rawbytes.h"
#include "core/themeentries.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

QStringList unusedTemplates(const ThemeIndex &index)
{
    QStringList unused;
    for (const QString &path : index.templates()) {
        if (isEntryTemplate(index.relativePath(path)))
            continue;
        const QList<ThemeLinkAt> includes = index.includesOf(path);
        // A template that includes itself is no more used for it.
        const bool included = std::any_of(includes.cbegin(), includes.cend(),
                                          [&](const ThemeLinkAt &at) { return at.source != path; });
        if (!included)
            unused << path;
    }
    return unused;
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
    const QString shown = localeText(rawBytesFromText(theme.index.relativePath(clean)));
    return {findingOf(Check::TemplateNeverIncluded, 0, 0, u"模板 %1 没有被其他模板引用，CMS 也不会直接加载它"_s.arg(shown))};
}

QList<const ThemeIndex *> CheckedThemes::themes() const
{
    QList<const ThemeIndex *> list;
    for (const auto &[root, theme] : m_themes)
        list << &theme->index;
    return list;
}
