#include "core/templatesources.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

QList<TemplateSource> templateSources(const QString &argument, QString *error)
{
    const QFileInfo info(argument);
    if (!info.isDir()) {
        // stat() for the system's reason: QFileInfo only says whether.
        struct stat status;
        if (::stat(QFile::encodeName(argument).constData(), &status) != 0) {
            if (error)
                *error = QString::fromLocal8Bit(std::strerror(errno));
            return {};
        }
        return {{argument, info.absoluteFilePath(), info.absolutePath()}};
    }
    const QString folder = QDir::cleanPath(info.absoluteFilePath());
    // QDirIterator lists a folder it cannot open as empty: opendir() says why.
    if (DIR *listing = ::opendir(QFile::encodeName(folder).constData())) {
        ::closedir(listing);
    } else {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return {};
    }
    const QDir root(folder);
    QStringList found;
    QDirIterator files(folder, {QStringLiteral("*.htm"), QStringLiteral("*.html")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext())
        found << root.relativeFilePath(files.next());
    std::sort(found.begin(), found.end());
    QList<TemplateSource> sources;
    sources.reserve(found.size());
    for (const QString &relative : found)
        sources.append({QDir::cleanPath(argument + u'/' + relative), root.filePath(relative), folder});
    return sources;
}
