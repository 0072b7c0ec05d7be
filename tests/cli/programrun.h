#pragma once

// Running the built program as a user does, with no way to reach a display.

#include "core/catalog/editorexport.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

struct ProgramRun {
    bool finished = false;
    bool crashed = false;
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// The environment without any way to reach a display, with `extra`
// ("NAME=value") added.
inline QProcessEnvironment displaylessEnvironment(const QStringList &extra = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET"})
        env.remove(QString::fromLatin1(name));
    for (const QString &variable : extra)
        env.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    return env;
}

// `input` is fed on standard input; standard output goes to `outputFile`
// where one is named.
inline ProgramRun runProcess(const QString &program, const QStringList &arguments, const QStringList &extraEnvironment,
                             const QString &workingDirectory, int timeoutMs, const QByteArray &input = {},
                             const QString &outputFile = {})
{
    QProcess process;
    process.setProcessEnvironment(displaylessEnvironment(extraEnvironment));
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    ProgramRun run;
    run.finished = process.waitForFinished(timeoutMs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
    }
    run.crashed = process.exitStatus() == QProcess::CrashExit;
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

inline ProgramRun runProgram(const QStringList &arguments, int timeoutMs = 30000, const QStringList &extraEnvironment = {})
{
    return runProcess(QStringLiteral(ZUVI_TAGGEN_PATH), arguments, extraEnvironment, QString(), timeoutMs);
}

// A shell command line run in `directory`, with "$B" the built program: for
// redirections, pipes and names that are not UTF-8, which only a shell (or
// the bytes of an argv) can give.
inline ProgramRun runShell(const QString &script, const QString &directory, int timeoutMs = 30000)
{
    return runProcess(QStringLiteral("/bin/bash"), {QStringLiteral("-c"), script},
                      {QStringLiteral("B=" ZUVI_TAGGEN_PATH)}, directory, timeoutMs);
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline const QByteArray &vsCodeExport()
{
    static const QByteArray bytes = vsCodeSnippets(catalogTemplates());
    return bytes;
}

inline const QByteArray &jetBrainsExport()
{
    static const QByteArray bytes = jetBrainsTemplateSet(catalogTemplates());
    return bytes;
}
