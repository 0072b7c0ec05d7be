// `zuvi-taggen check` over whole themes: the templates no other template
// includes (W303), reported once for a theme read whole, and the include
// graph --graph writes, through the same writer and refusals as -o.
#include "tests/cli/programrun.h"
#include "tests/support/qtprinters.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kUntidy = QStringLiteral(ZUVI_UNTIDY_THEME);
const QString kClean = QStringLiteral(ZUVI_FIXTURE_THEME);

ProgramRun check(const QStringList &arguments, const QString &folder = {})
{
    const ProgramRun run =
        runProcess(QStringLiteral(ZUVI_TAGGEN_PATH), QStringList{u"check"_s} + arguments, {}, folder, 60000);
    EXPECT_TRUE(run.finished && !run.crashed) << arguments.join(u' ').toStdString();
    return run;
}

// "path:line:column" of each W303 line of a gcc report.
QStringList unusedReported(const QByteArray &out)
{
    static const QRegularExpression line(u"^(.+:\\d+:\\d+): warning: .* \\[W303\\]$"_s,
                                         QRegularExpression::MultilineOption);
    QStringList found;
    for (const QRegularExpressionMatch &m : line.globalMatch(QString::fromUtf8(out)))
        found << m.captured(1);
    return found;
}

TEST(ThemeCheck, TemplatesNoneIncludesAreReportedOncePerTheme)
{
    const ProgramRun untidy = check({u"--select=W303"_s, kUntidy});
    EXPECT_EQ(untidy.status, 0) << "a warning fails only at --fail-level warning";
    EXPECT_EQ(unusedReported(untidy.out), (QStringList{kUntidy + u"/loop.htm:1:1"_s, kUntidy + u"/old.htm:1:1"_s}));

    // The theme given twice, once through a file of it: still once each.
    EXPECT_EQ(unusedReported(check({kUntidy, kUntidy + u"/old.htm"_s}).out).size(), 2);

    const ProgramRun clean = check({u"--fail-level=warning"_s, kClean});
    EXPECT_EQ(clean.status, 0) << clean.out.toStdString();
    EXPECT_TRUE(clean.out.isEmpty()) << clean.out.toStdString();

    // A file alone is no theme read whole: whether others include it is not known.
    EXPECT_EQ(unusedReported(check({kUntidy + u"/old.htm"_s}).out), QStringList());
}

TEST(ThemeCheck, TheConfigurationTurnsTheCheckOffOrNamesTheTheme)
{
    QTemporaryDir dir;
    const QDir site(dir.path());
    site.mkpath(u"template/pc/inc"_s);
    const auto write = [&](const QString &relative, const QByteArray &bytes) {
        QFile file(site.filePath(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write(u"template/pc/index.htm"_s, "{zuvi:include file='inc/head.htm' /}");
    write(u"template/pc/inc/head.htm"_s, "");
    write(u"template/pc/inc/spare.htm"_s, "");
    write(u".zuvi-check.json"_s, R"({"templateRoot": "template/pc"})");
    // The root from the configuration: a file checked alone is judged in its theme.
    EXPECT_EQ(unusedReported(check({u"template/pc/inc/spare.htm"_s}, dir.path()).out),
              QStringList{u"template/pc/inc/spare.htm:1:1"_s});
    EXPECT_EQ(unusedReported(check({u"template/pc/inc/head.htm"_s}, dir.path()).out), QStringList());

    write(u".zuvi-check.json"_s, R"({"templateRoot": "template/pc", "severity": {"W303": "off"}})");
    EXPECT_EQ(check({u"template"_s}, dir.path()).out, QByteArray());
    write(u".zuvi-check.json"_s, R"({"templateRoot": "template/pc", "severity": {"W303": "error"}})");
    const ProgramRun asError = check({u"template"_s}, dir.path());
    EXPECT_EQ(asError.status, 1);
    EXPECT_TRUE(asError.out.contains("inc/spare.htm:1:1: error: ")) << asError.out.toStdString();
}

TEST(ThemeCheck, GraphIsWrittenAsTheReportIs)
{
    QTemporaryDir dir;
    const QString graphFile = QDir(dir.path()).filePath(u"图.dot"_s);
    // The theme's template that includes itself is an error (E301): status 1.
    const ProgramRun toFile = check({u"--graph"_s, graphFile, kUntidy});
    EXPECT_EQ(toFile.status, 1) << toFile.err.toStdString();
    EXPECT_TRUE(toFile.out.contains("[W303]")) << "the report goes on to standard output";
    const QByteArray graph = readFile(graphFile);
    EXPECT_TRUE(graph.startsWith("digraph theme {\n")) << graph.toStdString();
    EXPECT_TRUE(graph.contains("  \"foot.htm\" [style=dashed, color=red")) << graph.toStdString();
    EXPECT_TRUE(graph.contains("  \"index.htm\" -> \"inc/侧栏.htm\";\n")) << graph.toStdString();
    EXPECT_FALSE(graph.contains(".drafts")) << "hidden folders are no part of the theme";

    const ProgramRun toStandardOutput = check({u"--graph=-"_s, u"-o"_s, QDir(dir.path()).filePath(u"r.txt"_s), kUntidy});
    EXPECT_EQ(toStandardOutput.status, 1);
    EXPECT_EQ(toStandardOutput.out, graph);
}

TEST(ThemeCheck, GraphAsSvgDrawnByGraphviz)
{
    QTemporaryDir dir;
    const QString picture = QDir(dir.path()).filePath(u"主题.SVG"_s);
    const ProgramRun drawn = check({u"--graph"_s, picture, kUntidy});
    EXPECT_EQ(drawn.status, 1) << drawn.err.toStdString();
    EXPECT_TRUE(drawn.out.contains("[W303]")) << "the report goes on to standard output";
    const QByteArray svg = readFile(picture);
    EXPECT_TRUE(svg.contains("<svg")) << svg.left(200).toStdString();
    EXPECT_TRUE(svg.contains("<title>index.htm&#45;&gt;inc/侧栏.htm</title>")) << "an edge of the theme drawn";
    EXPECT_TRUE(svg.contains("stroke=\"red\" stroke-dasharray")) << "the missing include dashed red";
}

TEST(ThemeCheck, GraphAsSvgWithoutAWorkingDotIsAnError)
{
    QTemporaryDir dir;
    const QString picture = QDir(dir.path()).filePath(u"theme.svg"_s);
    const QString report = QDir(dir.path()).filePath(u"report.txt"_s);
    // A PATH where no dot is found: refused before checking.
    const ProgramRun run = runProcess(QStringLiteral(ZUVI_TAGGEN_PATH),
                                      {u"check"_s, u"--graph"_s, picture, u"-o"_s, report, kUntidy},
                                      {u"PATH="_s + dir.path()}, {}, 60000);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "zuvi-taggen: cannot draw the graph as SVG into " + picture.toUtf8()
                           + ": Graphviz's dot is not installed (on Debian: apt install graphviz); a name not ending "
                             "in .svg gets the graph as DOT\n");
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty()) << "neither report nor graph written";

    // A dot that fails: its first line of complaint, and nothing written.
    QFile failing(QDir(dir.path()).filePath(u"dot"_s));
    ASSERT_TRUE(failing.open(QIODevice::WriteOnly));
    failing.write("#!/bin/sh\necho 'Error: <stdin>: syntax error in line 1' >&2\necho more >&2\nexit 1\n");
    failing.close();
    failing.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const ProgramRun failed = runProcess(QStringLiteral(ZUVI_TAGGEN_PATH), {u"check"_s, u"--graph"_s, picture, kUntidy},
                                         {u"PATH="_s + dir.path()}, {}, 60000);
    EXPECT_EQ(failed.status, 2);
    EXPECT_EQ(failed.err, "zuvi-taggen: cannot draw the graph: " + failing.fileName().toUtf8()
                              + " failed: Error: <stdin>: syntax error in line 1\n");
    EXPECT_FALSE(QFileInfo::exists(picture));

    // DOT needs no Graphviz.
    const QString dot = QDir(dir.path()).filePath(u"theme.dot"_s);
    EXPECT_EQ(runProcess(QStringLiteral(ZUVI_TAGGEN_PATH), {u"check"_s, u"--graph"_s, dot, kUntidy},
                         {u"PATH="_s + dir.path()}, {}, 60000)
                  .status,
              1);
    EXPECT_TRUE(readFile(dot).startsWith("digraph theme {\n"));
}

TEST(ThemeCheck, GraphTargetsRefused)
{
    const struct {
        const char *what;
        QStringList arguments;
        const char *error;
    } cases[] = {
        {"the graph and the report both on standard output", {u"--graph=-"_s, kClean}, "would both go to standard output"},
        {"the graph and the report into one file", {u"--graph=r.txt"_s, u"-o"_s, u"r.txt"_s, kClean}, "would both go to r.txt"},
        {"a template checked", {u"--graph"_s, kClean + u"/index.htm"_s, kClean}, "will not write the graph to"},
        {"no name", {u"--graph="_s, kClean}, "--graph needs a file name"},
        {"twice", {u"--graph=a.dot"_s, u"--graph=b.dot"_s, kClean}, "--graph given more than once"},
    };
    QTemporaryDir dir;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const ProgramRun run = check(c.arguments, dir.path());
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.err.contains(c.error)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty()) << "nothing written";
    EXPECT_TRUE(readFile(kClean + u"/index.htm"_s).startsWith("{zuvi:include")) << "the template is as it was";
}

} // namespace
