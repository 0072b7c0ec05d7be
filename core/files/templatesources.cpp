#include "core/files/templatesources.h"

#include "core/files/localetext.h"
#include "core/files/rawbytes.h"
#include "core/files/templatefile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace {

bool isTemplateName(QByteArrayView name)
{
    const auto endsWith = [&](QByteArrayView suffix) {
        return name.size() > suffix.size() && name.last(suffix.size()).compare(suffix, Qt::CaseInsensitive) == 0;
    };
    return endsWith(".htm") || endsWith(".html");
}

// `name` in `folder`; an empty folder is none, and a slash given is not doubled.
QByteArray joined(const QByteArray &folder, const QByteArray &name)
{
    return folder.isEmpty() ? name : folder.endsWith('/') ? folder + name : folder + '/' + name;
}

// The files under one folder given on the command line, found by their names
// as bytes: QDirIterator reads names as UTF-8 and loses those that are not,
// lists a folder it cannot open as empty, and follows a link to a FIFO or a
// device like any file.
class FolderWalk
{
public:
    explicit FolderWalk(QByteArray root) : m_root(std::move(root)) {}

    void run()
    {
        QList<QByteArray> pending{QByteArray()};
        while (!pending.isEmpty())
            readFolder(pending.takeLast(), &pending);
        std::sort(m_files.begin(), m_files.end());
        const auto byPath = [](const auto &a, const auto &b) { return a.first < b.first; };
        std::sort(m_errors.begin(), m_errors.end(), byPath);
        std::sort(m_skipped.begin(), m_skipped.end(), byPath);
    }

    QList<QByteArray> m_files;                          // under the root
    QList<std::pair<QByteArray, QString>> m_errors;    // under the root (empty: the root), what
    QList<std::pair<QByteArray, QString>> m_skipped;

private:
    void readFolder(const QByteArray &relative, QList<QByteArray> *pending)
    {
        const QByteArray path = relative.isEmpty() ? m_root : joined(m_root, relative);
        DIR *listing = ::opendir(path.constData());
        if (!listing) {
            m_errors.append({relative, QStringLiteral("cannot read folder: ") + systemErrorText(errno)});
            return;
        }
        for (;;) {
            errno = 0;
            const dirent *entry = ::readdir(listing);
            if (!entry) {
                if (errno != 0)
                    m_errors.append({relative, QStringLiteral("cannot read folder: ") + systemErrorText(errno)});
                break;
            }
            const QByteArray name(entry->d_name);
            if (name.startsWith('.'))   // hidden, and . and ..
                continue;
            take(relative, name, entry->d_type, dirfd(listing), pending);
        }
        ::closedir(listing);
    }

    void take(const QByteArray &folder, const QByteArray &name, unsigned char type, int folderDescriptor,
              QList<QByteArray> *pending)
    {
        const QByteArray relative = joined(folder, name);
        if (type == DT_DIR) {
            pending->append(relative);
            return;
        }
        const bool templateName = isTemplateName(name);
        if (type == DT_REG) {
            if (templateName)
                m_files.append(relative);
            return;
        }
        struct stat status;
        if (type == DT_UNKNOWN) {   // some file systems do not say
            if (::fstatat(folderDescriptor, name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0)
                return skip(relative, templateName, QStringLiteral("skipped: ") + systemErrorText(errno));
            if (S_ISDIR(status.st_mode))
                return pending->append(relative);
            if (S_ISREG(status.st_mode)) {
                if (templateName)
                    m_files.append(relative);
                return;
            }
            if (!S_ISLNK(status.st_mode))
                return skip(relative, templateName, QStringLiteral("skipped: ") + irregularFileReason(status.st_mode));
        } else if (type != DT_LNK) {
            return skip(relative, templateName, QStringLiteral("skipped: ") + irregularFileReason(DTTOIF(type)));
        }
        // A link: what it leads to decides.
        if (::fstatat(folderDescriptor, name.constData(), &status, 0) != 0)
            return skip(relative, templateName,
                        QStringLiteral("skipped: a link that leads nowhere (%1)").arg(systemErrorText(errno)));
        if (S_ISDIR(status.st_mode))
            return skip(relative, true,
                        QStringLiteral("skipped: a link to a folder, which is not followed (name it to check it)"));
        if (!S_ISREG(status.st_mode))
            return skip(relative, templateName,
                        QStringLiteral("skipped: a link to what is %1").arg(irregularFileReason(status.st_mode)));
        if (templateName)
            m_files.append(relative);
    }

    // Only what would have been checked is worth a word.
    void skip(const QByteArray &relative, bool worthSaying, const QString &why)
    {
        if (worthSaying)
            m_skipped.append({relative, why});
    }

    QByteArray m_root;
};

} // namespace

bool isTemplateUnderFolder(QByteArrayView relative)
{
    qsizetype start = 0;
    for (qsizetype slash; (slash = relative.indexOf('/', start)) >= 0; start = slash + 1) {
        if (relative.sliced(start).startsWith('.'))
            return false;
    }
    const QByteArrayView name = relative.sliced(start);
    return !name.startsWith('.') && isTemplateName(name);
}

TemplateSources templateSources(const QString &argument)
{
    const QByteArray given = rawBytesFromText(argument);
    TemplateSources sources;
    const QString shownArgument = localeText(given);
    struct stat status;
    if (::stat(given.constData(), &status) != 0) {
        sources.errors.append({shownArgument, QStringLiteral("cannot read: ") + systemErrorText(errno)});
        return sources;
    }
    const QFileInfo info(argument);
    if (S_ISREG(status.st_mode)) {
        sources.files.append({given, shownArgument, info.absoluteFilePath(), info.absolutePath()});
        return sources;
    }
    if (!S_ISDIR(status.st_mode)) {
        // Never opened: a FIFO would wait for a writer, a device could give
        // without end.
        sources.errors.append({shownArgument, QStringLiteral("cannot read: ") + irregularFileReason(status.st_mode)});
        return sources;
    }
    FolderWalk walk(given);
    walk.run();
    const QString folder = QDir::cleanPath(info.absoluteFilePath());
    // The name shown for something under the folder: the argument and its path under it.
    const auto shown = [&](const QByteArray &relative) {
        if (relative.isEmpty())
            return shownArgument;
        return localeText(rawBytesFromText(QDir::cleanPath(argument + u'/' + textFromRawBytes(relative))));
    };
    for (const auto &[relative, message] : std::as_const(walk.m_errors))
        sources.errors.append({shown(relative), message});
    for (const auto &[relative, message] : std::as_const(walk.m_skipped))
        sources.skipped.append({shown(relative), message});
    sources.files.reserve(walk.m_files.size());
    for (const QByteArray &relative : std::as_const(walk.m_files)) {
        sources.files.append({joined(given, relative), shown(relative),
                              QDir::cleanPath(folder + u'/' + textFromRawBytes(relative)), folder});
    }
    return sources;
}
