// Which program a run of zuvi-taggen becomes: the commands load no GUI
// library at all, the windows do, and an install that lacks the program a
// run needs says so.

#include "tests/cli/programrun.h"
#include "tests/support/qtprinters.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QByteArray kGuiLibraries[] = {"libQt6Gui.so", "libQt6Widgets.so"};

// The libraries the dynamic linker loaded for a run, from its LD_DEBUG=libs
// trace (on standard error, before the program's own lines).
QByteArray loadedLibraries(const ProgramRun &run)
{
    QByteArray loaded;
    for (const QByteArray &line : run.err.split('\n')) {
        if (line.contains("calling init: "))
            loaded += line.mid(line.indexOf("calling init: ") + 14) + '\n';
    }
    return loaded;
}

TEST(Programs, NoCommandLoadsAGuiLibraryAndTheWindowsDo)
{
    struct Case {
        const char *what;
        QStringList arguments;
        bool gui;
    };
    const Case cases[] = {
        {"version", {QStringLiteral("--version")}, false},
        {"help", {QStringLiteral("--help")}, false},
        {"export", {QStringLiteral("export"), QStringLiteral("vscode")}, false},
        {"check", {QStringLiteral("check"), QStringLiteral(ZUVI_FIXTURE_THEME "/footer.htm")}, false},
        {"language server", {QStringLiteral("lsp")}, false},   // standard input at its end: it ends at once
        {"wrong arguments", {QStringLiteral("--no-such-option")}, false},
        // Without a display the windows end with one line, after loading the toolkit.
        {"windows", {}, true},
        {"search", {QStringLiteral("--search"), QStringLiteral("fenye")}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const ProgramRun run = runProgram(c.arguments, 20000, {QStringLiteral("LD_DEBUG=libs")});
        ASSERT_TRUE(run.finished);
        const QByteArray loaded = loadedLibraries(run);
        ASSERT_TRUE(loaded.contains("libQt6Core.so")) << "no trace of the libraries:\n" << run.err.toStdString();
        for (const QByteArray &library : kGuiLibraries)
            EXPECT_EQ(loaded.contains(library), c.gui) << library.constData() << " in\n" << loaded.toStdString();
        // The single instance speaks to its socket without Qt's network library.
        EXPECT_FALSE(loaded.contains("libQt6Network.so")) << loaded.toStdString();
    }
}

// The same seen from a language server at work, as an editor keeps it
// running: its process maps Qt Core and nothing of the GUI.
TEST(Programs, ARunningLanguageServerMapsNoGuiLibrary)
{
    QProcess server;
    server.setProcessEnvironment(displaylessEnvironment());
    server.start(QStringLiteral(ZUVI_TAGGEN_PATH), {QStringLiteral("lsp")});
    ASSERT_TRUE(server.waitForStarted());
    const QString mapsPath = QStringLiteral("/proc/%1/maps").arg(server.processId());
    // The process is the launcher's until it has handed over to the server.
    QByteArray maps;
    for (QDeadlineTimer deadline(10000); !maps.contains("libQt6Core.so") && !deadline.hasExpired();) {
        QThread::msleep(10);
        maps = readFile(mapsPath);
    }
    EXPECT_TRUE(maps.contains("libQt6Core.so")) << maps.toStdString();
    for (const QByteArray &library : kGuiLibraries)
        EXPECT_FALSE(maps.contains(library)) << library.constData();
    EXPECT_FALSE(maps.contains("libxcb.so"));
    server.closeWriteChannel();
    EXPECT_TRUE(server.waitForFinished(10000));
}

// zuvi-taggen alone, without the programs it hands over to: a broken
// install ends with the shell's status for a missing program and names it.
TEST(Programs, ALauncherWithoutItsProgramsSaysWhichIsMissing)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString launcher = folder.filePath(QStringLiteral("zuvi-taggen"));
    ASSERT_TRUE(QFile::copy(QFileInfo(QStringLiteral(ZUVI_TAGGEN_PATH)).canonicalFilePath(), launcher));
    for (const QStringList &arguments : {QStringList{QStringLiteral("--version")}, QStringList{}}) {
        const ProgramRun run = runProcess(launcher, arguments, {}, QString(), 10000);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.status, 127);
        EXPECT_TRUE(run.err.startsWith("zuvi-taggen: cannot run ")) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(arguments.isEmpty() ? "zuvi-taggen-windows" : "zuvi-taggen-commands"))
            << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
}

} // namespace
