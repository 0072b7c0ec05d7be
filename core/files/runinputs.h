#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// What a check reads, which the file its report goes to must not be: a
// template named or found under a folder named, standard input, or a
// configuration of the files checked. The report written there would take
// the place of what it reports on, or the next run would read it as a
// template or a configuration; so the target is held against them before
// anything is read or written. A file is the same one by its device and
// inode (a hard link, a bind mount) or by its path once links are resolved
// (a name not there yet).
class RunInputs
{
public:
    // A path of the command line: a file, or a folder and every template
    // under it.
    void addPath(const QString &path);
    // Standard input, and the name --stdin-filename gives it (may be empty).
    void addStandardInput(const QString &name);
    // The configuration every file is checked under (--config).
    void addConfiguration(const QString &path);

    // Why the report must not be written to `target` (the bytes -o names),
    // as "it is ..."; empty when it may.
    QString refusal(const QByteArray &target) const;

private:
    struct Folder {
        QString argument;        // as given, for the message
        QByteArray resolved;     // absolute, links resolved
    };

    QList<QByteArray> m_files;   // as given
    QList<Folder> m_folders;
    bool m_standardInput = false;
    QByteArray m_standardInputName;
    QByteArray m_configuration;
};
