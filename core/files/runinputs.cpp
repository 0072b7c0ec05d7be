#include "core/files/runinputs.h"

#include "core/check/checkconfig.h"
#include "core/files/rawbytes.h"
#include "core/files/templatesources.h"

#include <QFile>

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArrayLiteral(".") : slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

QByteArray realPath(const QByteArray &path)
{
    char *resolved = ::realpath(path.constData(), nullptr);
    if (!resolved)
        return {};
    const QByteArray result(resolved);
    std::free(resolved);
    return result;
}

// The absolute path with every link resolved, of a name that need not be
// there: a dangling link stands for where it points, a new name for its
// resolved folder and its name. Empty where the folder is not there either.
QByteArray resolvedPath(QByteArray path)
{
    if (QByteArray resolved = realPath(path); !resolved.isEmpty())
        return resolved;
    for (int hops = 0; hops < 40; ++hops) {
        char link[PATH_MAX];
        const ssize_t size = ::readlink(path.constData(), link, sizeof link);
        if (size < 0 || size_t(size) >= sizeof link)
            break;
        const QByteArray pointed(link, size);
        path = pointed.startsWith('/') ? pointed : folderOf(path) + '/' + pointed;
    }
    const QByteArray folder = realPath(folderOf(path));
    if (folder.isEmpty())
        return {};
    return (folder == "/" ? folder : folder + '/') + nameOf(path);
}

// Whether `path` is `folder` or lies under it; both resolved.
bool within(const QByteArray &path, const QByteArray &folder)
{
    return path == folder || path.startsWith(folder == "/" ? folder : folder + '/');
}

// The target, as far as it is there, and whether another path names it.
class Target
{
public:
    explicit Target(const QByteArray &path) : m_resolved(resolvedPath(path))
    {
        m_exists = ::stat(path.constData(), &m_status) == 0;
    }

    bool exists() const { return m_exists; }
    bool isRegular() const { return m_exists && S_ISREG(m_status.st_mode); }
    const QByteArray &resolved() const { return m_resolved; }

    bool is(const QByteArray &path) const
    {
        struct stat other;
        if (m_exists && ::stat(path.constData(), &other) == 0)
            return isSameFile(other);
        return !m_resolved.isEmpty() && resolvedPath(path) == m_resolved;
    }
    bool isSameFile(const struct stat &other) const
    {
        return m_exists && other.st_dev == m_status.st_dev && other.st_ino == m_status.st_ino;
    }

private:
    QByteArray m_resolved;
    struct stat m_status {};
    bool m_exists = false;
};

} // namespace

void RunInputs::addPath(const QString &path)
{
    const QByteArray bytes = rawBytesFromText(path);
    struct stat status;
    if (::stat(bytes.constData(), &status) == 0 && S_ISDIR(status.st_mode))
        m_folders.append({path, realPath(bytes)});
    else
        m_files.append(bytes);
}

void RunInputs::addStandardInput(const QString &name)
{
    m_standardInput = true;
    m_standardInputName = rawBytesFromText(name);
}

void RunInputs::addConfiguration(const QString &path)
{
    m_configuration = rawBytesFromText(path);
}

QString RunInputs::refusal(const QByteArray &path) const
{
    if (path == "-")
        return {};
    const Target target(path);

    for (const QByteArray &file : m_files) {
        if (target.is(file))
            return QStringLiteral("it is one of the files checked");
    }
    if (m_standardInput) {
        struct stat input;
        if (::fstat(STDIN_FILENO, &input) == 0 && S_ISREG(input.st_mode) && target.isSameFile(input))
            return QStringLiteral("it is what standard input reads");
        if (!m_standardInputName.isEmpty() && target.is(m_standardInputName))
            return QStringLiteral("it is the name --stdin-filename gives standard input");
    }
    for (const Folder &folder : m_folders) {
        if (folder.resolved.isEmpty())
            continue;
        // A file there is compared with every template found; a new name
        // with the rule that finds them.
        if (target.isRegular()) {
            for (const TemplateSource &source : templateSources(folder.argument).files) {
                if (target.is(source.file))
                    return QStringLiteral("it is a template under %1, which is checked").arg(folder.argument);
            }
        } else if (!target.exists() && !target.resolved().isEmpty() && within(target.resolved(), folder.resolved)
                   && isTemplateUnderFolder(target.resolved().mid(folder.resolved.size() + 1))) {
            return QStringLiteral("it would be checked as a template under %1").arg(folder.argument);
        }
    }

    if (!m_configuration.isEmpty() && target.is(m_configuration))
        return QStringLiteral("it is the configuration in use (--config)");
    if (target.isRegular()) {
        // The nearest ones above, under another name too (a hard link).
        QList<QByteArray> governed = m_files;
        if (!m_standardInputName.isEmpty())
            governed << m_standardInputName;
        for (const Folder &folder : m_folders)
            governed << folder.resolved + "/-";
        for (const QByteArray &file : governed) {
            const QString config = CheckConfig::find(textFromRawBytes(file));
            if (!config.isEmpty() && target.is(rawBytesFromText(config)))
                return QStringLiteral("it is the configuration of files checked");
        }
    }
    // A .zuvi-check.json in the folder of a file checked or above it, or in a
    // folder checked or under it, configures files checked, or would.
    if (target.resolved().isEmpty() || nameOf(target.resolved()) != CheckConfig::kFileName)
        return {};
    const QByteArray configFolder = folderOf(target.resolved());
    QList<QByteArray> readFolders;
    QList<QByteArray> files = m_files;
    if (!m_standardInputName.isEmpty())
        files << m_standardInputName;
    for (const QByteArray &file : files) {
        if (const QByteArray resolved = resolvedPath(file); !resolved.isEmpty())
            readFolders << folderOf(resolved);
    }
    for (const Folder &folder : m_folders) {
        if (!folder.resolved.isEmpty() && within(configFolder, folder.resolved))
            return QStringLiteral("it is where the configuration of files under %1 is looked up").arg(folder.argument);
        readFolders << folder.resolved;
    }
    for (const QByteArray &folder : readFolders) {
        if (!folder.isEmpty() && within(folder, configFolder))
            return QStringLiteral("it is where the configuration of files checked is looked up");
    }
    return {};
}
