#pragma once

#include <QList>
#include <QString>

// The template files a path on the command line names.
struct TemplateSource {
    QString path;           // as reports name it: the argument, or the argument and the file's path under it
    QString absolutePath;   // where it is read
    // Where its includes are looked up when the configuration names no
    // template root: the folder given, or the file's own folder.
    QString templateRoot;
};

// A file names itself, whatever its name. A folder names every *.htm and
// *.html file under it (any case), in every subfolder but hidden ones,
// sorted by their path under it so that reports come out the same on every
// run. Nothing, with `error` set to the system's reason, for a path that is
// neither.
QList<TemplateSource> templateSources(const QString &argument, QString *error);
