#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A template file a path on the command line names.
struct TemplateSource {
    QByteArray file;        // where it is read: its name as the system knows it, byte for byte
    QString path;           // as reports name it: the argument, or the argument and the file's path under it
    QString absolutePath;   // where its configuration is found from (core/files/rawbytes.h keeps every byte)
    // Where its includes are looked up when the configuration names no
    // template root: the folder given, or the file's own folder.
    QString templateRoot;
};

// Something under a path that is not checked, and why.
struct SourceNotice {
    QString path;      // as reports name it
    QString message;   // "cannot read folder: Permission denied", "skipped: ..."
};

// What a path on the command line names.
struct TemplateSources {
    QList<TemplateSource> files;
    // What could not be read: the path itself, or a folder under it. Each is
    // a run that did not check all it was given.
    QList<SourceNotice> errors;
    // What a folder holds under a template's name that is no regular file
    // (a FIFO, a device, a link to nothing or to a folder): passed over, and
    // said, so that nothing is left out unseen.
    QList<SourceNotice> skipped;
};

// Whether a folder's walk takes the file at `relative` under it: a *.htm or
// *.html name (any case), neither it nor a folder on its way hidden.
bool isTemplateUnderFolder(QByteArrayView relative);

// `argument` is a path as the command line gave it (core/files/rawbytes.h). A
// regular file names itself, whatever its name; anything else that is not a
// folder is refused unopened, so that a FIFO or a device cannot hold the run.
// A folder names every *.htm and *.html file under it (any case) that is or
// links to a regular file, in every subfolder but hidden ones, sorted by
// their path under it (byte by byte) so that reports come out the same on
// every run. Links to folders are not followed: a theme that links back to
// itself is walked once. Names stay bytes from the folder to the open;
// reports show them in the locale's encoding (core/files/localetext.h).
TemplateSources templateSources(const QString &argument);
