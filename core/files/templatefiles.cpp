#include "core/files/templatefiles.h"

#include "core/files/rawbytes.h"
#include "core/files/templatefile.h"

#include <QFile>
#include <QFileInfo>

const TemplateFiles &TemplateFiles::disk()
{
    static const TemplateFiles files;
    return files;
}

std::optional<QString> TemplateFiles::openText(const QString &) const
{
    return std::nullopt;
}

bool TemplateFiles::isFile(const QString &path) const
{
    // QFileInfo follows links: a link to a file is a file, one to a folder is not.
    return openText(path) || QFileInfo(path).isFile();
}

std::optional<QString> TemplateFiles::templateText(const QString &path) const
{
    if (std::optional<QString> open = openText(path))
        return open;
    QString error;
    std::optional<DecodedTemplate> decoded = readTemplateFile(rawBytesFromText(path), &error);
    if (!decoded)
        return std::nullopt;
    return std::move(decoded->text);
}

std::optional<QByteArray> TemplateFiles::bytes(const QString &path, QString *error) const
{
    if (const std::optional<QString> open = openText(path))
        return open->toUtf8();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return file.readAll();
}

TemplateFiles::Stamp TemplateFiles::stamp(const QString &path) const
{
    if (std::optional<QString> open = openText(path))
        return Stamp{std::move(open), {}, -1};
    const QFileInfo info(path);
    return Stamp{std::nullopt, info.lastModified(), info.exists() ? info.size() : -1};
}
