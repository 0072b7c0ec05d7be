#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Fake browser openers: small shell scripts in a temporary folder, run in
// place of xdg-open. Each records the address it was given, one a line, in
// the folder's "opened" file, then runs the rest of its body.
class FakeOpeners
{
public:
    bool isValid() const { return m_dir.isValid(); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    // Writes an executable script `name` and returns its path.
    QString write(const QString &name, const QString &body) const
    {
        const QString script = path(name);
        QFile file(script);
        if (!file.open(QIODevice::WriteOnly))
            return QString();
        file.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '%1'\n%2\n")
                       .arg(path(QStringLiteral("opened")), body)
                       .toUtf8());
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return script;
    }
    // One that ends with the given exit status.
    QString exitingWith(int status) const
    {
        return write(QStringLiteral("exit-%1").arg(status), QStringLiteral("exit %1").arg(status));
    }

    // The addresses the fakes were given so far.
    QStringList opened() const
    {
        QFile file(path(QStringLiteral("opened")));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

private:
    QTemporaryDir m_dir;
};
