#pragma once

// A zh_CN.GB18030 locale, as users of Chinese Windows copies and older Linux
// installations have it. Debian ships the locale's sources but builds only
// the locales chosen at install, so localedef compiles it once per test
// program into a temporary folder; LOCPATH points the C library there.

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

class Gb18030Locale
{
public:
    static constexpr const char *kName = "zh_CN.GB18030";

    static const Gb18030Locale &instance()
    {
        static const Gb18030Locale locale;
        return locale;
    }

    // Empty where it could not be built, and `error` says why.
    QString path() const { return m_built ? m_dir.path() : QString(); }
    QString error() const { return m_error; }
    // The environment of a program run in it.
    QStringList environment() const
    {
        return {QStringLiteral("LOCPATH=") + path(), QStringLiteral("LC_ALL=") + QLatin1String(kName)};
    }

private:
    Gb18030Locale()
    {
        QProcess localedef;
        localedef.start(QStringLiteral("localedef"),
                        {QStringLiteral("-i"), QStringLiteral("zh_CN"), QStringLiteral("-f"), QStringLiteral("GB18030"),
                         m_dir.filePath(QLatin1String(kName))});
        m_built = localedef.waitForFinished(120000) && localedef.exitStatus() == QProcess::NormalExit
                  && localedef.exitCode() == 0;
        if (!m_built)
            m_error = QStringLiteral("localedef -i zh_CN -f GB18030 failed (the locales package has it): ")
                      + localedef.errorString() + QString::fromLocal8Bit(localedef.readAllStandardError());
    }

    QTemporaryDir m_dir;
    bool m_built = false;
    QString m_error;
};
