#pragma once

#include "core/check/templatecheck.h"
#include "core/theme/themeindex.h"

#include <QList>
#include <QSet>
#include <QString>

#include <map>
#include <memory>

// The templates of a theme that no other template includes and that the CMS
// does not load by itself (core/theme/themeentries.h), in order of path: W303.
QStringList unusedTemplates(const ThemeIndex &index);
// Whether the template at `path` (absolute, clean) is one of them.
bool isUnusedTemplate(const ThemeIndex &index, const QString &path);
// W303 about the template at `path`: at its start, with the code's own severity.
Finding unusedTemplateFinding(const ThemeIndex &index, const QString &path);

// The themes a run of `check` meets, each indexed once however many of its
// files are checked: what the findings about a whole theme and the graph
// of its includes are made from.
class CheckedThemes
{
public:
    // The theme under `templateRoot`, read on first use.
    const ThemeIndex &theme(const QString &templateRoot, const QString &siteRoot = {});
    // W303 for `path` where its theme never includes it: one finding, at
    // the template's start, with the code's own severity; nothing otherwise.
    QList<Finding> unusedFindings(const QString &path, const QString &templateRoot, const QString &siteRoot = {});
    // Every theme read so far, in order of template root.
    QList<const ThemeIndex *> themes() const;

private:
    struct Theme {
        ThemeIndex index;
        QSet<QString> unused;
    };
    Theme &load(const QString &templateRoot, const QString &siteRoot);

    std::map<QString, std::unique_ptr<Theme>> m_themes;   // by clean template root
};
