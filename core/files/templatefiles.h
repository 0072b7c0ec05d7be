#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

// The files a check reads besides the checked text: the templates it
// includes and the configuration that governs it. The command line reads
// the disk; the language server the documents open in the editor over the
// disk, so that a file not yet saved counts as it stands. Whether a path
// names a file is decided here and nowhere else.
class TemplateFiles
{
public:
    virtual ~TemplateFiles() = default;

    // The disk alone.
    static const TemplateFiles &disk();

    // Whether `path` (absolute) names a file: a document open in the
    // editor, or on disk a regular file or a link to one. A folder is not
    // a file, whatever an include calls it.
    bool isFile(const QString &path) const;
    // A template's text: the editor's, or read from disk and decoded as
    // `check` reads it; nothing where it cannot be read.
    std::optional<QString> templateText(const QString &path) const;
    // A configuration's bytes: the editor's text as UTF-8, or the file's
    // bytes; nothing where it cannot be read, and `error` then says why.
    std::optional<QByteArray> bytes(const QString &path, QString *error) const;

    // What tells that a file changed: the editor's text where it is open,
    // else the time and size on disk.
    struct Stamp {
        std::optional<QString> openText;
        QDateTime modified;
        qint64 size = -1;
        friend bool operator==(const Stamp &, const Stamp &) = default;
    };
    Stamp stamp(const QString &path) const;

    // The text of a document open in the editor, perhaps not saved;
    // nothing for a file that is only on disk.
    virtual std::optional<QString> openText(const QString &path) const;
};
