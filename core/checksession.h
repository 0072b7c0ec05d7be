#pragma once

#include "core/checkconfig.h"
#include "core/includegraph.h"
#include "core/tagknowledge.h"
#include "core/templatecheck.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <map>
#include <optional>

// The configuration each checked file is governed by, found once per folder,
// and a text's findings under it. The command line and the language server
// share it, so that a file gives the same findings in both.
class CheckSession
{
public:
    // With `configFile` (the command line's --config) every file is governed
    // by that file; without, by the nearest .zuvi-check.json in its folder or
    // above it.
    explicit CheckSession(const QString &configFile = {});

    // The configuration of `file` (an absolute path, which need not exist:
    // standard input is named by --stdin-filename); the defaults where there
    // is no configuration file. Nothing where the configuration cannot be
    // read or is malformed: `error` then says why, "path:line:column: what".
    // The configuration stays valid as long as the session.
    const CheckConfig *configFor(const QString &file, QString *error = nullptr);

    // The findings of `text` under `config`, with its severities and without
    // the codes it turns off. Includes are looked up under the
    // configuration's template root, or under `templateRoot` where it names
    // none. Whether an included file exists is asked once per session: the
    // files of a theme include the same few. With `file` (the text's
    // absolute path) an include that leads back to it is reported; the
    // files it includes are read from disk where they were not checked yet.
    QList<Finding> check(QStringView text, const CheckConfig &config, const QString &templateRoot,
                         const QString &file = {});

private:
    struct Loaded {
        std::optional<CheckConfig> config;
        QString error;
    };
    const Loaded &load(const QString &path);
    QString configPathFor(const QString &folder);
    const TagKnowledge *knowledgeOf(const CheckConfig &config);
    IncludeGraph &includeGraph(const CheckContext &context);

    QString m_configFile;
    CheckConfig m_defaults;
    QHash<QString, QString> m_configPathOfFolder;   // empty where none is above
    QHash<QString, bool> m_fileExists;
    std::map<QString, Loaded> m_loaded;             // nodes stay put: configFor() hands out pointers
    std::map<QString, TagKnowledge> m_knowledge;    // by configuration file, for those with tags
    std::map<QString, IncludeGraph> m_includeGraphs;   // by the roots includes are looked up under
};
