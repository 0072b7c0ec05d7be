// The built program's command line, run as a user runs it over SSH or in CI:
// with no display at all.

#include "tests/cli/programrun.h"
#include "tests/support/qtprinters.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A scratch folder holding one file the program must not touch unless told
// to write it; "@FILE@" in the arguments stands for its path.
class CommandLine : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_file = m_dir.filePath(QStringLiteral("snippets.out"));
        // Longer than any export, so a write that did not replace the file
        // whole would leave a tail of it.
        ASSERT_TRUE(writeFile(m_file, QByteArray(4 << 20, 'x')));
    }

    QStringList withFile(QStringList arguments) const
    {
        arguments.replaceInStrings(QStringLiteral("@FILE@"), m_file);
        return arguments;
    }

    QStringList filesInDir() const { return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); }

    QTemporaryDir m_dir;
    QString m_file;
};

// In this environment the windows cannot open, so whatever succeeds below
// did so without a display. The windows say so in one line that points to
// what works without one, instead of the toolkit's abort; the toolkit's own
// options go to the windows too, not to the command line.
TEST_F(CommandLine, WithoutADisplayTheWindowsSaySoInOneLine)
{
    const QStringList forTheWindows[] = {
        {},
        {QStringLiteral("-style"), QStringLiteral("fusion")},
        {QStringLiteral("-platform"), QStringLiteral("xcb"), QStringLiteral("-reverse")},
        {QStringLiteral("--style=fusion")},
        // The search palette is the windows' too, with or without a text.
        {QStringLiteral("--search")},
        {QStringLiteral("--search"), QStringLiteral("{zuvi:channel"), QStringLiteral("-style"), QStringLiteral("fusion")},
        {QStringLiteral("-reverse"), QStringLiteral("--search=-x")},
    };
    for (const QStringList &arguments : forTheWindows) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const ProgramRun run = runProgram(arguments, 20000);
        ASSERT_TRUE(run.finished) << "the windows opened without a display";
        EXPECT_FALSE(run.crashed) << run.err.toStdString();
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, QByteArray());
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.startsWith("zuvi-taggen: ")) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("DISPLAY")) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("export") && run.err.contains("check") && run.err.contains("--help"))
            << run.err.toStdString();
    }
    // A display of the wrong name is as good as none.
    const ProgramRun gone = runProgram({}, 20000, {QStringLiteral("DISPLAY=:97")});
    EXPECT_EQ(gone.status, 1);
    EXPECT_TRUE(gone.err.contains(":97 does not answer")) << gone.err.toStdString();
}

// A platform that needs no display is Qt's to start, as the tests' own
// offscreen screens are: the first page is painted and the program ends.
TEST_F(CommandLine, APlatformWithoutADisplayStillOpensTheWindows)
{
    const QStringList quitAfterPaint = {QStringLiteral("ZUVI_REPORT_FIRST_PAINT=1"),
                                        QStringLiteral("ZUVI_QUIT_AFTER_FIRST_PAINT=1")};
    const ProgramRun byArgument = runProgram({QStringLiteral("-platform"), QStringLiteral("offscreen")}, 30000, quitAfterPaint);
    const ProgramRun byVariable =
        runProgram({}, 30000, quitAfterPaint + QStringList{QStringLiteral("QT_QPA_PLATFORM=offscreen")});
    for (const ProgramRun &run : {byArgument, byVariable}) {
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("first-paint ")) << run.err.toStdString();
    }
}

struct ExportCase {
    QStringList arguments;
    bool toFile;
    bool vsCode;
};

TEST_F(CommandLine, ExportsToStandardOutputOrReplacesTheFileWhole)
{
    const ExportCase cases[] = {
        {{"--export", "vscode"}, false, true},
        {{"--export", "jetbrains"}, false, false},
        {{"--export=jetbrains", "-o", "@FILE@"}, true, false},
        {{"--output", "@FILE@", "--export", "vscode"}, true, true},
        {{"--export", "vscode", "--output=@FILE@"}, true, true},
    };
    for (const ExportCase &c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        ASSERT_TRUE(writeFile(m_file, QByteArray(4 << 20, 'x')));
        const ProgramRun run = runProgram(withFile(c.arguments));
        ASSERT_TRUE(run.finished);
        EXPECT_FALSE(run.crashed);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, QByteArray());
        const QByteArray &expected = c.vsCode ? vsCodeExport() : jetBrainsExport();
        EXPECT_EQ(c.toFile ? readFile(m_file) : run.out, expected);
        if (c.toFile) {
            EXPECT_EQ(run.out, QByteArray());
        }
        // No temporary file is left beside the output.
        EXPECT_EQ(filesInDir(), QStringList{QStringLiteral("snippets.out")});
    }
}

TEST_F(CommandLine, HelpAndVersionGoToStandardOutput)
{
    const QByteArray version = QByteArrayLiteral("zuvi-taggen " ZUVI_VERSION "\n");
    for (const char *option : {"--version", "-v"}) {
        const ProgramRun run = runProgram({QString::fromLatin1(option)});
        EXPECT_EQ(run.status, 0) << option;
        EXPECT_EQ(run.out, version) << option;
    }
    for (const char *option : {"--help", "-h"}) {
        const ProgramRun run = runProgram({QString::fromLatin1(option)});
        EXPECT_EQ(run.status, 0) << option;
        EXPECT_TRUE(run.out.startsWith("Usage: zuvi-taggen [options]\n")) << run.out.toStdString();
        for (const char *named : {"--export <vscode|jetbrains>", "-o, --output <file>", "--version"})
            EXPECT_TRUE(run.out.contains(named)) << named;
    }
}

// The manual describes every option the program lists in its help.
TEST_F(CommandLine, TheManualPageNamesEveryOption)
{
    const QByteArray manual = readFile(QStringLiteral(ZUVI_MANUAL_PATH));
    const ProgramRun run = runProgram({QStringLiteral("--help")});
    const QRegularExpression longOption(QStringLiteral("--([a-z]+)"));
    int options = 0;
    for (const auto &match : longOption.globalMatch(QString::fromUtf8(run.out))) {
        ++options;
        EXPECT_TRUE(manual.contains("\\-\\-" + match.captured(1).toUtf8())) << match.captured(1).toStdString();
    }
    EXPECT_GE(options, 4);
}

struct ErrorCase {
    QStringList arguments;
    const char *mentions;
};

TEST_F(CommandLine, WrongArgumentsGetOneLineExitTwoAndWriteNothing)
{
    const ErrorCase cases[] = {
        {{"--export", "emacs"}, "'emacs'"},
        {{"--export=sublime", "-o", "@FILE@"}, "'sublime'"},
        {{"--export"}, "--export"},
        {{"--export", "vscode", "-o"}, "-o"},
        {{"--bogus"}, "bogus"},
        {{"--export", "vscode", "-platform", "offscreen"}, "platform"},
        {{"-style", "fusion", "--export", "vscode"}, "style"},
        {{"-o", "@FILE@"}, "--export"},
        {{"--export", "vscode", "stray"}, "'stray'"},
        {{"--export", "vscode", "--export", "jetbrains", "-o", "@FILE@"}, "more than once"},
        {{"--export", "vscode", "-o", "@FILE@", "--output", "@FILE@"}, "more than once"},
        {{"--"}, "nothing to do"},
        {{"--export", "vscode", "-o", ""}, "--output needs a file name"},
        {{"--export", "vscode", "--output="}, "--output needs a file name"},
        // A search never joins the command line, which never hands over.
        {{"--export", "vscode", "--search", "fenye"}, "--search is for the windows"},
        {{"--search", "fenye", "stray"}, "'stray'"},
    };
    const QByteArray original = readFile(m_file);
    for (const ErrorCase &c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const ProgramRun run = runProgram(withFile(c.arguments));
        ASSERT_TRUE(run.finished);
        EXPECT_FALSE(run.crashed);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, QByteArray());
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.endsWith('\n'));
        EXPECT_TRUE(run.err.startsWith("zuvi-taggen: ")) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.mentions)) << run.err.toStdString();
        // It names what is accepted.
        EXPECT_TRUE(run.err.contains("vscode") && run.err.contains("jetbrains")) << run.err.toStdString();
        EXPECT_EQ(readFile(m_file), original);
        EXPECT_EQ(filesInDir(), QStringList{QStringLiteral("snippets.out")});
    }
}

TEST_F(CommandLine, AnOutputThatCannotBeWrittenFailsWithAMessage)
{
    const QString cases[] = {
        m_file + QStringLiteral("/inside-a-file.json"),   // its folder is a file: fails even for root
        m_dir.path(),                                     // a folder
        m_dir.filePath(QStringLiteral("missing/out.json")),
    };
    const QByteArray original = readFile(m_file);
    for (const QString &path : cases) {
        SCOPED_TRACE(path.toStdString());
        const ProgramRun run = runProgram({QStringLiteral("--export"), QStringLiteral("jetbrains"), QStringLiteral("-o"), path});
        ASSERT_TRUE(run.finished);
        EXPECT_FALSE(run.crashed);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, QByteArray());
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(path.toUtf8())) << run.err.toStdString();
        EXPECT_EQ(readFile(m_file), original);
        EXPECT_EQ(filesInDir(), QStringList{QStringLiteral("snippets.out")});
    }
}

} // namespace
