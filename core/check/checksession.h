#pragma once

#include "core/check/checkconfig.h"
#include "core/check/includegraph.h"
#include "core/catalog/tagknowledge.h"
#include "core/check/templatecheck.h"
#include "core/files/templatefiles.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <map>
#include <memory>
#include <optional>

// A configuration as read, and the tag knowledge made from it: made once,
// shared by every file it governs.
struct SiteRules {
    std::optional<CheckConfig> config;   // nothing where the file cannot be read or is faulty
    QString error;                       // then "path:line:column: what"
    // The catalog's tags, with the site's own where the configuration has any.
    std::shared_ptr<const TagKnowledge> knowledge;
};

// The configuration each checked file is governed by, and a text's findings
// under it. The command line and the language server share it, so that a
// file gives the same findings in both; they differ in the files they hand
// it (TemplateFiles) and in how long what it read stays true.
class CheckSession
{
public:
    enum class Freshness {
        // The files stay as they are while the session lasts (a check run):
        // each folder's configuration and each file's existence are asked once.
        Snapshot,
        // The files change under it (the language server): asked each time,
        // and a configuration read again when its text, time or size changed.
        Live,
    };

    // With `configFile` (the command line's --config) every file is governed
    // by that file; without, by the nearest .zuvi-check.json in its folder or
    // above it. `files` outlives the session.
    explicit CheckSession(const QString &configFile = {});
    CheckSession(const TemplateFiles &files, Freshness freshness, const QString &configFile = {});

    const TemplateFiles &files() const { return m_files; }

    // What governs `file` (an absolute path, which need not exist: standard
    // input is named by --stdin-filename): its configuration, the defaults
    // where there is no configuration file.
    std::shared_ptr<const SiteRules> rulesFor(const QString &file);
    // The defaults, for a text that is no file.
    const std::shared_ptr<const SiteRules> &defaultRules() const { return m_defaults; }
    // The same, its configuration alone; nothing where the configuration
    // cannot be read or is malformed, and `error` then says why. The
    // configuration stays valid as long as the session, or in a live one
    // until it is read again.
    const CheckConfig *configFor(const QString &file, QString *error = nullptr);

    // Where a text under `rules` is checked: the site's knowledge, includes
    // looked up under the configuration's template root, or under
    // `templateRoot` where it names none, and whether they exist asked of
    // the session's files.
    CheckContext contextFor(const SiteRules &rules, const QString &templateRoot);

    // The findings of `text` under `config` (one of the session's), with its
    // severities and without the codes it turns off. With `file` (the text's
    // absolute path) an include that leads back to it is reported; the files
    // it includes are read where they were not checked yet.
    QList<Finding> check(QStringView text, const CheckConfig &config, const QString &templateRoot,
                         const QString &file = {});

private:
    struct Read {
        TemplateFiles::Stamp stamp;
        std::shared_ptr<const SiteRules> rules;
    };
    std::shared_ptr<const SiteRules> read(const QString &path);
    QString configPathFor(const QString &folder);
    const SiteRules *rulesOf(const CheckConfig &config) const;
    bool isFile(const QString &path);
    IncludeGraph &includeGraph(const CheckContext &context);

    const TemplateFiles &m_files;
    Freshness m_freshness;
    QString m_configFile;
    std::shared_ptr<const SiteRules> m_defaults;
    QHash<QString, QString> m_configPathOfFolder;   // empty where none is above; in a snapshot
    QHash<QString, bool> m_isFile;                  // in a snapshot
    std::map<QString, Read> m_read;                 // by configuration file
    std::map<QString, IncludeGraph> m_includeGraphs;   // by the roots includes are looked up under
};
