// `zuvi-taggen check` run as a user runs it in a terminal or in CI, with no
// display: a theme with planted faults reported at the right line and column
// in every format and column unit and read back, the SARIF held to its
// schema, exit statuses, configuration faults, --select and --ignore,
// standard input, files that cannot be checked among good ones, and a report
// that never takes the place of what it checks nor leaves a file half-written.
#include "core/check/checkrules.h"
#include "tests/cli/programrun.h"
#include "tests/support/gb18030locale.h"
#include "tests/support/qtprinters.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// The program with `arguments` in `folder`, fed `input` on standard input.
ProgramRun zuviTaggen(const QStringList &arguments, const QString &folder = {}, const QByteArray &input = {},
                      const QString &outputFile = {})
{
    const ProgramRun run =
        runProcess(QStringLiteral(ZUVI_TAGGEN_PATH), arguments, {}, folder, 60000, input, outputFile);
    EXPECT_TRUE(run.finished && !run.crashed) << "zuvi-taggen " << arguments.join(u' ').toStdString();
    return run;
}

QByteArray gb18030(const QString &text)
{
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}

// A folder of files written for one test.
class Folder
{
public:
    Folder() { EXPECT_TRUE(m_dir.isValid()); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &relative) const { return m_dir.filePath(relative); }
    void write(const QString &relative, const QByteArray &bytes) const
    {
        ASSERT_TRUE(QDir(path()).mkpath(QFileInfo(relative).path()));
        QFile file(filePath(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

private:
    QTemporaryDir m_dir;
};

// A theme with a planted fault on most lines, Chinese before most of them,
// in UTF-8 with a byte order mark, in GB18030 with CR LF, and with CR alone.
void plantTheme(const Folder &folder)
{
    folder.write(u"theme/inc/head.htm"_s, "<meta charset=\"utf-8\">\n");
    folder.write(u"theme/index.htm"_s, "\xEF\xBB\xBF"
                                       + u"{zuvi:include file=\"inc/head.htm\" /}\n"
                                         "<p>文章</p>{zuvi:arclist row='10'}\n"
                                         "标签{zuvi:arclst /}\n"
                                         "{zuvi:include file=\"inc/gone.htm\" /}\n"_s.toUtf8());
    folder.write(u"theme/list.htm"_s, gb18030(u"<h1>列表</h1>\r\n中文{zuvi:else /}\r\n{/zuvi:list}\r\n"_s));
    folder.write(u"theme/m/page.html"_s, "{$field.title\r<b>{zuvi:arclist row='\xE5\x8D\x81'}{/zuvi:arclist}\r");
    folder.write(u"theme/notes.txt"_s, "{zuvi:else /}");
}

// A finding as read back from a report.
struct Reported {
    QString path;
    int line = 0;
    int column = 0;
    QString code;
    QString severity;
    QString message;
    friend bool operator==(const Reported &, const Reported &) = default;
};

void PrintTo(const Reported &r, std::ostream *os)
{
    *os << (r.path + u':' + QString::number(r.line) + u':' + QString::number(r.column) + u' ' + r.severity + u' '
            + r.code)
               .toStdString();
}

struct Planted {
    const char *path;
    int line;
    int display, byte, utf16;
    const char *code;
    const char *severity;
};

// In the order of the report: files by path, findings by place.
const Planted kPlanted[] = {
    {"theme/index.htm", 2, 12, 14, 10, "E101", "error"},
    {"theme/index.htm", 3, 6, 8, 4, "W101", "warning"},
    {"theme/index.htm", 4, 21, 21, 21, "W301", "warning"},
    // No template of the theme includes another but inc/head.htm.
    {"theme/list.htm", 1, 1, 1, 1, "W303", "warning"},
    {"theme/list.htm", 2, 5, 7, 3, "E104", "error"},
    {"theme/list.htm", 3, 1, 1, 1, "E102", "error"},
    {"theme/m/page.html", 1, 1, 1, 1, "W303", "warning"},
    {"theme/m/page.html", 1, 1, 1, 1, "E203", "error"},
    {"theme/m/page.html", 2, 22, 22, 22, "W201", "warning"},
};

QList<Reported> fromGcc(const QByteArray &out)
{
    static const QRegularExpression line(u"^(.+):(\\d+):(\\d+): (error|warning|note): (.*) \\[(\\w+)\\]$"_s);
    QList<Reported> found;
    for (const QString &text : QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = line.match(text);
        EXPECT_TRUE(m.hasMatch()) << text.toStdString();
        found.append({m.captured(1), m.captured(2).toInt(), m.captured(3).toInt(), m.captured(6), m.captured(4),
                      m.captured(5)});
    }
    return found;
}

QList<Reported> fromJson(const QByteArray &out)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(out, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_TRUE(document.isArray());
    QList<Reported> found;
    for (const QJsonValue &value : document.array()) {
        const QJsonObject f = value.toObject();
        EXPECT_TRUE(f.contains(u"endLine"_s) && f.contains(u"endColumn"_s));
        EXPECT_GE(f[u"endColumn"_s].toInt(), f[u"column"_s].toInt());
        found.append({f[u"path"_s].toString(), f[u"line"_s].toInt(), f[u"column"_s].toInt(), f[u"code"_s].toString(),
                      f[u"severity"_s].toString(), f[u"message"_s].toString()});
    }
    return found;
}

QList<Reported> fromSarif(const QByteArray &out)
{
    const QJsonObject run = QJsonDocument::fromJson(out).object()[u"runs"_s].toArray()[0].toObject();
    QList<Reported> found;
    for (const QJsonValue &value : run[u"results"_s].toArray()) {
        const QJsonObject result = value.toObject();
        const QJsonObject location = result[u"locations"_s].toArray()[0].toObject()[u"physicalLocation"_s].toObject();
        const QJsonObject region = location[u"region"_s].toObject();
        const QString level = result[u"level"_s].toString();
        found.append({QUrl::fromPercentEncoding(location[u"artifactLocation"_s].toObject()[u"uri"_s].toString().toUtf8()),
                      region[u"startLine"_s].toInt(), region[u"startColumn"_s].toInt(), result[u"ruleId"_s].toString(),
                      level == u"note"_s ? u"info"_s : level, result[u"message"_s].toObject()[u"text"_s].toString()});
    }
    return found;
}

// GitHub's escapes undone: %25 last, so that an escaped "%3A" stays itself.
QString unescapeWorkflow(QString text)
{
    return text.replace(u"%0D"_s, u"\r"_s).replace(u"%0A"_s, u"\n"_s).replace(u"%3A"_s, u":"_s)
        .replace(u"%2C"_s, u","_s).replace(u"%25"_s, u"%"_s);
}

QList<Reported> fromGithub(const QByteArray &out)
{
    static const QRegularExpression line(
        u"^::(error|warning|notice) file=([^,]*),line=(\\d+),col=(\\d+),endLine=(\\d+),endColumn=(\\d+),title=([^:]*)::(.*)$"_s);
    QList<Reported> found;
    for (const QString &text : QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = line.match(text);
        EXPECT_TRUE(m.hasMatch()) << text.toStdString();
        found.append({unescapeWorkflow(m.captured(2)), m.captured(3).toInt(), m.captured(4).toInt(),
                      unescapeWorkflow(m.captured(7)), m.captured(1) == u"notice"_s ? u"info"_s : m.captured(1),
                      unescapeWorkflow(m.captured(8))});
    }
    return found;
}

struct FormatCase {
    const char *format;
    QList<Reported> (*read)(const QByteArray &);
};

const FormatCase kFormats[] = {
    {"gcc", fromGcc}, {"json", fromJson}, {"sarif", fromSarif}, {"github", fromGithub}};

TEST(CheckCommand, EveryFormatReportsEveryPlantedFaultWhereItIs)
{
    Folder folder;
    plantTheme(folder);
    // The messages as gcc gives them, which every other format must carry alike.
    const ProgramRun gcc = zuviTaggen({u"check"_s, u"theme"_s}, folder.path());
    ASSERT_EQ(gcc.status, 1) << gcc.err.toStdString();
    const QList<Reported> reference = fromGcc(gcc.out);
    ASSERT_EQ(reference.size(), std::size(kPlanted)) << gcc.out.toStdString();
    EXPECT_TRUE(reference[0].message.contains(u"{/zuvi:arclist}"_s)) << "names the closing tag that is missing";
    EXPECT_TRUE(reference[1].message.contains(u"zuvi:arclist"_s)) << "offers the name meant";

    for (const FormatCase &format : kFormats) {
        for (const char *unit : {"display", "byte", "utf16"}) {
            SCOPED_TRACE(std::string(format.format) + " " + unit);
            const ProgramRun run = zuviTaggen({u"check"_s, u"--format"_s, QString::fromLatin1(format.format),
                                        u"--column-unit"_s, QString::fromLatin1(unit), u"theme"_s},
                                       folder.path());
            EXPECT_EQ(run.status, 1) << run.err.toStdString();
            EXPECT_EQ(run.err, "zuvi-taggen: theme/list.htm: note: read as GB18030: not UTF-8 from line 1 on\n")
                << "the one guess said, and nothing else";
            // SARIF counts UTF-16 code units whatever the unit asked, and says so.
            const QString counted = qstrcmp(format.format, "sarif") == 0 ? u"utf16"_s : QString::fromLatin1(unit);
            QList<Reported> expected;
            qsizetype i = 0;
            for (const Planted &p : kPlanted) {
                const int column = counted == u"display"_s ? p.display : counted == u"byte"_s ? p.byte : p.utf16;
                expected.append({QString::fromUtf8(p.path), p.line, column, QString::fromLatin1(p.code),
                                 QString::fromLatin1(p.severity), reference[i++].message});
            }
            EXPECT_EQ(format.read(run.out), expected) << run.out.toStdString();
        }
    }
}

bool validSarif(const QByteArray &sarif, std::string *why)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(u"report.sarif"_s));
    if (!file.open(QIODevice::WriteOnly) || file.write(sarif) != sarif.size())
        return false;
    file.close();
    QProcess validator;
    validator.start(u"/usr/bin/python3"_s,
                    {u"-c"_s,
                     u"import json, sys, jsonschema\n"
                     "jsonschema.validate(json.load(open(sys.argv[2])), json.load(open(sys.argv[1])))"_s,
                     QStringLiteral(ZUVI_SARIF_SCHEMA), file.fileName()});
    if (!validator.waitForFinished(60000)) {
        *why = "python3 with jsonschema did not answer (scripts/setup.sh installs python3-jsonschema)";
        return false;
    }
    *why = validator.readAllStandardError().toStdString();
    return validator.exitStatus() == QProcess::NormalExit && validator.exitCode() == 0;
}

TEST(CheckCommand, SarifMeetsItsSchemaWithEveryRuleAndTheFilesNotChecked)
{
    Folder folder;
    plantTheme(folder);
    folder.write(u"theme/gbk-broken.htm"_s, QByteArray("\x81\x30 \xFF", 4));
    const ProgramRun run = zuviTaggen({u"check"_s, u"--format=sarif"_s, u"theme"_s, u"absent"_s}, folder.path());
    EXPECT_EQ(run.status, 2);
    std::string why;
    EXPECT_TRUE(validSarif(run.out, &why)) << why;

    const QJsonObject log = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(log[u"version"_s].toString(), u"2.1.0"_s);
    const QJsonObject sarifRun = log[u"runs"_s].toArray()[0].toObject();
    QStringList ruleIds;
    for (const QJsonValue &rule : sarifRun[u"tool"_s].toObject()[u"driver"_s].toObject()[u"rules"_s].toArray()) {
        ruleIds << rule.toObject()[u"id"_s].toString();
        EXPECT_FALSE(rule.toObject()[u"fullDescription"_s].toObject()[u"text"_s].toString().isEmpty());
    }
    QStringList codes;
    for (const CheckRule &rule : checkRules())
        codes << rule.code;
    EXPECT_EQ(ruleIds, codes);
    EXPECT_EQ(sarifRun[u"results"_s].toArray().size(), std::size(kPlanted));
    const QJsonObject invocation = sarifRun[u"invocations"_s].toArray()[0].toObject();
    EXPECT_FALSE(invocation[u"executionSuccessful"_s].toBool(true));
    QStringList notChecked;
    for (const QJsonValue &notice : invocation[u"toolExecutionNotifications"_s].toArray())
        notChecked << notice.toObject()[u"locations"_s].toArray()[0].toObject()[u"physicalLocation"_s].toObject()
                          [u"artifactLocation"_s].toObject()[u"uri"_s].toString();
    EXPECT_EQ(notChecked, (QStringList{u"theme/gbk-broken.htm"_s, u"absent"_s}));
}

struct StatusCase {
    const char *what;
    QStringList arguments;
    int status;
    const char *out;   // a part of standard output ("" for none at all)
    const char *err;   // a part of standard error ("" for none at all)
};

TEST(CheckCommand, ExitStatusSaysWhatWasFound)
{
    Folder folder;
    folder.write(u"errors.htm"_s, "{zuvi:arclist}");
    folder.write(u"warnings.htm"_s, "{zuvi:arclst /}");
    folder.write(u"info/.zuvi-check.json"_s, R"({"severity": {"W101": "info", "W303": "off"}})");
    folder.write(u"info/a.htm"_s, "{zuvi:arclst /}");
    folder.write(u"broken.htm"_s, QByteArray("ok \xFF\xFE", 5));
    const QString theme = QStringLiteral(ZUVI_FIXTURE_THEME);
    const StatusCase cases[] = {
        {"a clean theme", {u"check"_s, theme}, 0, "", ""},
        {"an error", {u"check"_s, u"errors.htm"_s}, 1, "errors.htm:1:1: error: ", ""},
        {"a warning is reported but fails only at --fail-level warning", {u"check"_s, u"warnings.htm"_s}, 0,
         "warnings.htm:1:2: warning: ", ""},
        {"--fail-level warning", {u"check"_s, u"--fail-level"_s, u"warning"_s, u"warnings.htm"_s}, 1, "W101", ""},
        {"an info is a GCC note", {u"check"_s, u"--fail-level"_s, u"warning"_s, u"info"_s}, 0, "info/a.htm:1:2: note: ", ""},
        {"--fail-level info", {u"check"_s, u"--fail-level=info"_s, u"info"_s}, 1, "[W101]", ""},
        {"an error ignored", {u"check"_s, u"--ignore"_s, u"E"_s, u"errors.htm"_s}, 0, "", ""},
        {"a file that cannot be decoded among good ones: they are still checked",
         {u"check"_s, u"errors.htm"_s, u"broken.htm"_s, u"warnings.htm"_s}, 2, "warnings.htm:1:2: warning: ",
         "zuvi-taggen: broken.htm: cannot decode: neither UTF-8 nor GB18030\n"},
        {"a path that is not there", {u"check"_s, u"absent.htm"_s, u"errors.htm"_s}, 2, "errors.htm:1:1:",
         "zuvi-taggen: absent.htm: cannot read: No such file or directory\n"},
        {"a file named as a folder", {u"check"_s, u"errors.htm/"_s}, 2, "errors.htm/: error: cannot read: Not a directory",
         "errors.htm/: cannot read: Not a directory"},
        {"nothing to check", {u"check"_s}, 2, "", "nothing to check"},
        {"an unknown option", {u"check"_s, u"--colour"_s, u"errors.htm"_s}, 2, "", "Unknown option 'colour'"},
        {"an unknown format", {u"check"_s, u"--format"_s, u"xml"_s, u"errors.htm"_s}, 2, "",
         "unknown format 'xml'; use gcc, json, sarif, github."},
        {"an unknown column unit", {u"check"_s, u"--column-unit"_s, u"chars"_s, u"errors.htm"_s}, 2, "", "unit 'chars'"},
        {"an unknown fail level", {u"check"_s, u"--fail-level"_s, u"fatal"_s, u"errors.htm"_s}, 2, "", "level 'fatal'"},
        {"a format given twice", {u"check"_s, u"--format=json"_s, u"--format=gcc"_s, u"errors.htm"_s}, 2, "",
         "--format given more than once"},
        {"a code that is none", {u"check"_s, u"--select"_s, u"E1,X"_s, u"errors.htm"_s}, 2, "",
         "'X' is no code nor the start of one"},
        {"--select with nothing selects nothing, and says so", {u"check"_s, u"--select"_s, u""_s, u"errors.htm"_s}, 2, "",
         "--select '' names no code"},
        {"--ignore of commas alone", {u"check"_s, u"--ignore=,,,"_s, u"errors.htm"_s}, 2, "", "--ignore ',,,' names no code"},
        {"--stdin-filename without -", {u"check"_s, u"--stdin-filename"_s, u"a.htm"_s, u"errors.htm"_s}, 2, "",
         "--stdin-filename names standard input"},
        {"help", {u"check"_s, u"--help"_s}, 0, "Usage: zuvi-taggen check [options] PATH...", ""},
        {"-o with no name", {u"check"_s, u"-o"_s, u""_s, u"errors.htm"_s}, 2, "", "--output needs a file name"},
        {"-o - is standard output", {u"check"_s, u"-o"_s, u"-"_s, u"errors.htm"_s}, 1, "errors.htm:1:1: error: ", ""},
    };
    for (const StatusCase &c : cases) {
        SCOPED_TRACE(c.what);
        const ProgramRun run = zuviTaggen(c.arguments, folder.path());
        EXPECT_EQ(run.status, c.status) << run.err.toStdString();
        if (*c.out)
            EXPECT_TRUE(run.out.contains(c.out)) << run.out.toStdString();
        else
            EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        if (*c.err)
            EXPECT_TRUE(run.err.contains(c.err)) << run.err.toStdString();
        else
            EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    }
}

TEST(CheckCommand, AReportThatCannotBeWrittenIsNotACleanRun)
{
    Folder folder;
    folder.write(u"warnings.htm"_s, "{zuvi:arclst /}");
    const ProgramRun run = zuviTaggen({u"check"_s, u"warnings.htm"_s}, folder.path(), {}, u"/dev/full"_s);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.contains("zuvi-taggen: write error: No space left on device")) << run.err.toStdString();
}

TEST(CheckCommand, AReportWrittenToAFileIsWhatStandardOutputGets)
{
    Folder folder;
    plantTheme(folder);
    for (const char *format : {"gcc", "sarif"}) {
        SCOPED_TRACE(format);
        const QStringList arguments{u"check"_s, u"--format"_s, QString::fromLatin1(format), u"theme"_s};
        const ProgramRun printed = zuviTaggen(arguments, folder.path());
        folder.write(u"report"_s, "an older report, longer than nothing");
        const ProgramRun written = zuviTaggen(arguments + QStringList{u"-o"_s, u"report"_s}, folder.path());
        EXPECT_EQ(written.status, printed.status);
        EXPECT_TRUE(written.out.isEmpty());
        EXPECT_FALSE(printed.out.isEmpty());
        EXPECT_EQ(readFile(folder.filePath(u"report"_s)), printed.out);
    }
    // A folder in the way: nothing is checked into nowhere.
    ASSERT_TRUE(QDir(folder.path()).mkpath(u"taken"_s));
    const ProgramRun blocked = zuviTaggen({u"check"_s, u"-o"_s, u"taken"_s, u"theme"_s}, folder.path());
    EXPECT_EQ(blocked.status, 2);
    EXPECT_TRUE(blocked.err.contains("cannot write taken: ")) << blocked.err.toStdString();
}

// The report must not take the place of what the run reads, whatever the
// name it is given by: each of these is refused with one line before
// anything is read or written, and every file stays as it was.
struct RefusedTarget {
    const char *what;
    const char *prepare;   // besides a.htm, a template with a finding
    const char *command;   // run with "$B" the program
    const char *reason;
};

// Every file under `folder` with its bytes, or where a link points.
std::map<QString, QByteArray> contentsUnder(const QString &folder)
{
    std::map<QString, QByteArray> contents;
    QDirIterator files(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QFileInfo file = files.nextFileInfo();
        const QString name = QDir(folder).relativeFilePath(file.filePath());
        contents[name] = file.isSymLink() ? "-> " + file.symLinkTarget().toUtf8()
                         : file.isFile()  ? readFile(file.filePath())
                                          : QByteArray("<folder>");
    }
    return contents;
}

TEST(CheckCommand, TheReportNeverTakesThePlaceOfWhatItChecks)
{
    const RefusedTarget cases[] = {
        {"the template", "", "$B check a.htm -o a.htm", "it is one of the files checked"},
        {"a symbolic link to it", "ln -s a.htm l.htm", "$B check a.htm -o l.htm", "it is one of the files checked"},
        {"the template, which has another hard link", "ln a.htm h2.htm", "$B check a.htm -o a.htm",
         "it is one of the files checked"},
        {"a hard link to it", "ln a.htm h2.htm", "$B check a.htm -o h2.htm", "it is one of the files checked"},
        {"its path spelled another way", "mkdir d", "$B check a.htm -o ./d/../a.htm", "it is one of the files checked"},
        {"a descriptor open on it", "", "$B check a.htm -o /dev/fd/3 3>>a.htm", "it is one of the files checked"},
        {"the file standard input reads", "", "$B check - -o a.htm < a.htm", "it is what standard input reads"},
        {"the name --stdin-filename gives", "cp a.htm st.htm", "$B check --stdin-filename st.htm - -o st.htm < /dev/null",
         "it is the name --stdin-filename gives standard input"},
        {"the name --stdin-filename gives, not there yet", "",
         "$B check --stdin-filename new.htm - -o new.htm < a.htm", "it is the name --stdin-filename gives"},
        {"a template under a folder checked", "mkdir t && cp a.htm t/", "$B check t -o t/a.htm",
         "it is a template under t, which is checked"},
        {"a hard link to a template under a folder checked", "mkdir -p t/sub && cp a.htm t/sub/ && ln t/sub/a.htm out.txt",
         "$B check t -o out.txt", "it is a template under t, which is checked"},
        {"a new template name under a folder checked", "mkdir -p t/sub && cp a.htm t/", "$B check t -o t/sub/NEW.HTML",
         "it would be checked as a template under t"},
        {"the configuration of a folder checked", "mkdir cf && cp a.htm cf/ && echo '{}' > cf/.zuvi-check.json",
         "$B check cf -o cf/.zuvi-check.json", "it is the configuration of files checked"},
        {"the configuration above a file checked", "mkdir cf && cp a.htm cf/ && echo '{}' > .zuvi-check.json",
         "$B check cf/a.htm -o .zuvi-check.json", "it is the configuration of files checked"},
        {"a hard link to the configuration", "echo '{}' > .zuvi-check.json && ln .zuvi-check.json c.json",
         "$B check a.htm -o c.json", "it is the configuration of files checked"},
        {"a configuration a folder checked would find", "mkdir -p cf/sub && cp a.htm cf/sub/",
         "$B check cf -o cf/sub/.zuvi-check.json", "it is where the configuration of files under cf is looked up"},
        {"the configuration --config names", "echo '{}' > c.json", "$B check --config c.json a.htm -o c.json",
         "it is the configuration in use (--config)"},
    };
    for (const RefusedTarget &c : cases) {
        SCOPED_TRACE(c.what);
        Folder folder;
        folder.write(u"a.htm"_s, "<p>{zuvi:arclist row='x'}\n");
        const ProgramRun prepared = runShell(QString::fromUtf8(c.prepare), folder.path());
        ASSERT_EQ(prepared.status, 0) << prepared.err.toStdString();
        const std::map<QString, QByteArray> before = contentsUnder(folder.path());

        const ProgramRun run = runShell(QString::fromUtf8(c.command), folder.path());
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, QByteArray());
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.startsWith("zuvi-taggen: will not write the report to ")) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.reason)) << run.err.toStdString();
        EXPECT_EQ(contentsUnder(folder.path()), before);
    }
}

// What is near them but none of them is written as any other target.
TEST(CheckCommand, AReportBesideWhatItChecksIsWritten)
{
    const char *const commands[] = {
        "mkdir t && cp a.htm t/ && $B check t -o t/report.txt; echo $? > status; cp t/report.txt report",
        "mkdir -p t/.reports && cp a.htm t/ && $B check t -o t/.reports/r.htm; echo $? > status; cp t/.reports/r.htm report",
        "mkdir cf && cp a.htm cf/ && echo '{}' > cf/.zuvi-check.json && $B check cf -o cf/report.json; echo $? > status; "
        "cp cf/report.json report",
        "$B check - -o report < a.htm; echo $? > status",
    };
    for (const char *command : commands) {
        SCOPED_TRACE(command);
        Folder folder;
        folder.write(u"a.htm"_s, "<p>{zuvi:arclist row='x'}\n");
        const ProgramRun run = runShell(QString::fromUtf8(command), folder.path());
        EXPECT_EQ(run.err, QByteArray());
        EXPECT_EQ(readFile(folder.filePath(u"status"_s)), QByteArray("1\n"));
        EXPECT_TRUE(readFile(folder.filePath(u"report"_s)).contains(":1:4: error: ")) << readFile(folder.filePath(u"report"_s)).toStdString();
    }
}

// A target written in place (another hard link, or a folder the program may
// not create files in) keeps what it held until the report is whole: the
// run stops here while it reads standard input, and the file is looked at.
TEST(CheckCommand, AFileWrittenInPlaceIsLeftAsItWasUntilTheReportIsWhole)
{
    struct Case {
        const char *what;
        const char *prepare;
        const char *asUser;   // what runs the program
    };
    const Case cases[] = {
        {"another hard link", "printf old > w/h.txt && ln w/h.txt h2.txt", ""},
        // As root, the program runs as nobody, who may write the file but not the folder.
        {"a folder it may not create files in", "printf old > w/h.txt && chmod 666 w/h.txt && chmod 555 w",
         "[ $(id -u) = 0 ] && chmod 755 . && U='setpriv --reuid=65534 --regid=65534 --clear-groups'; "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Folder folder;
        folder.write(u"a.htm"_s, "<p>{zuvi:arclist row='x'}\n");
        ASSERT_TRUE(QDir(folder.path()).mkpath(u"w"_s));
        ASSERT_EQ(runShell(QString::fromUtf8(c.prepare), folder.path()).status, 0);
        const QString script = QString::fromUtf8(c.asUser) + uR"(mkfifo in
$U $B check --stdin-filename a.htm - -o w/h.txt < in & pid=$!
exec 3> in
# Once the program has the target open, it is reading standard input.
for i in $(seq 500); do ls -l /proc/$pid/fd 2>/dev/null | grep -q 'w/h.txt' && break; sleep 0.02; done
cat w/h.txt > during
cat a.htm >&3; exec 3>&-
wait $pid)"_s;
        const ProgramRun run = runShell(script, folder.path());
        EXPECT_EQ(run.status, 1) << run.err.toStdString();
        EXPECT_EQ(readFile(folder.filePath(u"during"_s)), QByteArray("old"));
        EXPECT_TRUE(readFile(folder.filePath(u"w/h.txt"_s)).startsWith("a.htm:1:4: error: "))
            << readFile(folder.filePath(u"w/h.txt"_s)).toStdString();
        runShell(u"chmod 755 w"_s, folder.path());
    }
}

// Runs that write one file at once leave one whole report in it, of
// whichever run wrote last: in place (a hard-linked file) under a lock, and
// by renames.
TEST(CheckCommand, RunsWritingOneFileAtOnceLeaveOneWholeReport)
{
    Folder folder;
    plantTheme(folder);
    const char *const formats[] = {"gcc", "json", "sarif", "github"};
    QList<QByteArray> reports;
    for (const char *format : formats)
        reports << zuviTaggen({u"check"_s, u"--format"_s, QString::fromLatin1(format), u"theme"_s}, folder.path()).out;
    struct Case {
        const char *what;
        const char *prepare;
        int runs;
    };
    const Case cases[] = {{"written in place", "printf old > r.txt && ln -f r.txt r2.txt", 8},
                          {"replaced", "rm -f r2.txt; printf old > r.txt", 10}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        for (int round = 0; round < 3; ++round) {
            const QString script = QString::fromUtf8(c.prepare) + uR"(
formats=(gcc json sarif github)
for i in $(seq %1); do $B check --format ${formats[i % 4]} theme -o r.txt & done
wait)"_s.arg(c.runs);
            ASSERT_TRUE(runShell(script, folder.path()).finished);
            const QByteArray left = readFile(folder.filePath(u"r.txt"_s));
            EXPECT_TRUE(reports.contains(left)) << "round " << round << ", a mixture of " << left.size() << " bytes";
            EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).filter(u".r.txt"_s), QStringList());
        }
    }
}

// A run ended by a signal, or writing past the file-size limit, leaves no
// temporary file beside the target, and the target as it was.
TEST(CheckCommand, ARunEndedWhileItWritesLeavesNothingBehind)
{
    struct Case {
        const char *signal;
        int status;   // 128 + its number, as the shell says it
    };
    for (const Case &c : {Case{"TERM", 143}, Case{"INT", 130}, Case{"HUP", 129}}) {
        SCOPED_TRACE(c.signal);
        Folder folder;
        folder.write(u"a.htm"_s, "<p>{zuvi:arclist row='x'}\n");
        folder.write(u"r.txt"_s, "old");
        // With job control, as at a terminal: a job started in the background keeps SIGINT.
        const QString script = uR"(set -m; mkfifo in
$B check --stdin-filename a.htm - -o r.txt < in & pid=$!
exec 3> in
for i in $(seq 500); do ls -A | grep -q '^\.r\.txt\.' && break; sleep 0.02; done
kill -%1 $pid
wait $pid)"_s.arg(QLatin1String(c.signal));
        const ProgramRun run = runShell(script, folder.path());
        EXPECT_EQ(run.status, c.status) << run.err.toStdString();
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                  (QStringList{u"a.htm"_s, u"in"_s, u"r.txt"_s}));
        EXPECT_EQ(readFile(folder.filePath(u"r.txt"_s)), QByteArray("old"));
    }

    Folder folder;
    plantTheme(folder);
    folder.write(u"r.sarif"_s, "old");
    const ProgramRun limited = runShell(u"ulimit -f 1; $B check --format sarif theme -o r.sarif"_s, folder.path());
    EXPECT_EQ(limited.status, 2);
    EXPECT_TRUE(limited.err.endsWith("zuvi-taggen: cannot write r.sarif: File too large\n")) << limited.err.toStdString();
    EXPECT_EQ(readFile(folder.filePath(u"r.sarif"_s)), QByteArray("old"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"r.sarif"_s});
}

TEST(CheckCommand, ConfigurationFaultsAreNamedByFileAndPlace)
{
    Folder folder;
    folder.write(u"site/.zuvi-check.json"_s, "{\n  \"ignore\": [\"a\",]\n}");
    folder.write(u"site/a.htm"_s, "{zuvi:arclist}");
    folder.write(u"site/b.htm"_s, "{zuvi:arclist}");
    folder.write(u"typo/.zuvi-check.json"_s, "{\n  \"templateroot\": \"x\"\n}");
    folder.write(u"typo/a.htm"_s, "");
    folder.write(u"good/a.htm"_s, "{zuvi:arclist}");
    const ProgramRun run = zuviTaggen({u"check"_s, u"--ignore=W303"_s, u"site"_s, u"typo"_s, u"good"_s}, folder.path());
    EXPECT_EQ(run.status, 2);
    const QString site = folder.filePath(u"site/.zuvi-check.json"_s);
    const QString typo = folder.filePath(u"typo/.zuvi-check.json"_s);
    EXPECT_EQ(QString::fromUtf8(run.err),
              u"zuvi-taggen: "_s + site + u":2:19: object is missing after a comma\n"_s + u"zuvi-taggen: "_s + typo
                  + u":2:3: unknown key \"templateroot\"; the keys are templateRoot, siteRoot, ignore, severity and tags\n"_s)
        << "each said once, however many files it governs";
    EXPECT_EQ(QString::fromUtf8(run.out),
              u"site/a.htm: error: "_s + site + u":2:19: object is missing after a comma\n"_s + u"site/b.htm: error: "_s
                  + site + u":2:19: object is missing after a comma\n"_s + u"typo/a.htm: error: "_s + typo
                  + u":2:3: unknown key \"templateroot\"; the keys are templateRoot, siteRoot, ignore, severity and tags\n"_s
                  + u"good/a.htm:1:1: error: 块标签 {zuvi:arclist} 没有闭合，缺少 {/zuvi:arclist} [E101]\n"_s)
        << "each file not checked in the report; files under another configuration still checked";

    const ProgramRun named = zuviTaggen({u"check"_s, u"--config"_s, u"none.json"_s, u"good"_s}, folder.path());
    EXPECT_EQ(named.status, 2);
    EXPECT_TRUE(named.err.contains("cannot read " + folder.filePath(u"none.json"_s).toUtf8() + ": "))
        << named.err.toStdString();
}

TEST(CheckCommand, ConfigurationGovernsRootsIgnoredFilesAndTags)
{
    Folder folder;
    folder.write(u"site/.zuvi-check.json"_s, R"({
      "templateRoot": "template/pc",
      "siteRoot": ".",
      "ignore": ["**/old/**"],
      "severity": {"W303": "off"},
      "tags": [{"name": "banner", "block": true, "attributes": ["pos"]}]
    })");
    folder.write(u"site/css/a.css"_s, "");
    folder.write(u"site/template/pc/inc/head.htm"_s, "");
    folder.write(u"site/template/pc/pages/a.htm"_s,
                 "{zuvi:include file='inc/head.htm' /}{zuvi:static file='/css/a.css,/css/b.css' /}"
                 "{zuvi:banner pos='1'}{/zuvi:banner}");
    folder.write(u"site/template/pc/old/x.htm"_s, "{zuvi:arclist}");
    const ProgramRun run = zuviTaggen({u"check"_s, u"site"_s}, folder.path());
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(run.out), u"site/template/pc/pages/a.htm:1:67: warning: {zuvi:static} 引用的文件 /css/b.css 不存在（查找位置 "_s
                                               + folder.filePath(u"site/css/b.css"_s) + u"） [W301]\n"_s);

    // Without a configuration: under the folder given, or the file's own folder.
    folder.write(u"theme/inc/head.htm"_s, "");
    folder.write(u"theme/pages/a.htm"_s, "{zuvi:include file='inc/head.htm' /}");
    EXPECT_EQ(zuviTaggen({u"check"_s, u"--ignore=W303"_s, u"theme"_s}, folder.path()).out, QByteArray());
    EXPECT_EQ(QString::fromUtf8(zuviTaggen({u"check"_s, u"theme/pages/a.htm"_s}, folder.path()).out),
              u"theme/pages/a.htm:1:21: warning: {zuvi:include} 引用的文件 inc/head.htm 不存在（查找位置 "_s
                  + folder.filePath(u"theme/pages/inc/head.htm"_s) + u"） [W301]\n"_s);
}

TEST(CheckCommand, SelectAndIgnoreTakeCodesAndPrefixes)
{
    Folder folder;
    folder.write(u"a.htm"_s, "{zuvi:arclst /}{zuvi:include file='gone.htm' /}{zuvi:arclist row='x'}");
    folder.write(u".zuvi-check.json"_s, R"({"severity": {"W3": "off"}})");
    const struct {
        QStringList options;
        const char *codes;
    } cases[] = {
        {{}, "W101 E101 W201"},
        {{u"--select"_s, u"E"_s}, "E101"},
        {{u"--select"_s, u"W1,W2"_s}, "W101 W201"},
        {{u"--select"_s, u"W"_s, u"--select"_s, u"E101"_s}, "W101 E101 W201"},
        {{u"--ignore"_s, u"W"_s}, "E101"},
        {{u"--ignore=W2"_s, u"--ignore"_s, u"W101"_s}, "E101"},
        {{u"--select"_s, u"W"_s, u"--ignore"_s, u"W2"_s}, "W101"},
        {{u"--select"_s, u"W3"_s}, ""},   // turned off by the configuration
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.options.join(u' ').toStdString());
        const ProgramRun run = zuviTaggen(QStringList{u"check"_s, u"--format=json"_s} + c.options + QStringList{u"a.htm"_s},
                                   folder.path());
        QStringList codes;
        for (const Reported &r : fromJson(run.out))
            codes << r.code;
        EXPECT_EQ(codes.join(u' '), QString::fromLatin1(c.codes));
        EXPECT_EQ(run.status, codes.contains(u"E101"_s) ? 1 : 0);
    }
}

TEST(CheckCommand, StandardInputIsCheckedAsTheFileItIsNamed)
{
    Folder folder;
    folder.write(u"theme/.zuvi-check.json"_s, R"({"severity": {"E104": "warning"}})");
    folder.write(u"theme/inc/head.htm"_s, "");
    const QByteArray text = gb18030(u"中文{zuvi:else /}\r\n{zuvi:include file='inc/head.htm' /}{zuvi:include file='x.htm' /}"_s);

    const ProgramRun named = zuviTaggen({u"check"_s, u"--stdin-filename"_s, u"theme/new.htm"_s, u"-"_s}, folder.path(), text);
    EXPECT_EQ(named.status, 0) << named.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(named.out),
              u"theme/new.htm:1:5: warning: {zuvi:else} 不在任何块标签之内 [E104]\n"
              "theme/new.htm:2:57: warning: {zuvi:include} 引用的文件 x.htm 不存在（查找位置 "_s
                  + folder.filePath(u"theme/x.htm"_s) + u"） [W301]\n"_s)
        << "the configuration and the includes found from its name";

    // Unnamed: "<stdin>" in the current folder, its configuration found from there.
    const ProgramRun unnamed = zuviTaggen({u"check"_s, u"-"_s}, folder.path(), text);
    EXPECT_EQ(unnamed.status, 1);
    EXPECT_TRUE(unnamed.out.startsWith("<stdin>:1:5: error: ")) << unnamed.out.toStdString();
    const ProgramRun inTheme = zuviTaggen({u"check"_s, u"-"_s}, folder.filePath(u"theme"_s), text);
    EXPECT_EQ(inTheme.status, 0);
    EXPECT_TRUE(inTheme.out.startsWith("<stdin>:1:5: warning: ")) << inTheme.out.toStdString();

    const ProgramRun both = zuviTaggen({u"check"_s, u"-"_s, u"-"_s}, folder.path(), text);
    EXPECT_EQ(both.status, 2);
}

// A file created by the bytes of its name, which Qt would read as UTF-8.
void writeNamed(const QString &folder, const QByteArray &name, const QByteArray &bytes)
{
    const QByteArray path = QFile::encodeName(folder) + '/' + name;
    const int descriptor = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(descriptor, 0) << path.toStdString();
    EXPECT_EQ(::write(descriptor, bytes.constData(), size_t(bytes.size())), bytes.size());
    ::close(descriptor);
}

// A bash command line in `folder` with "$B" the program and `environment` added.
ProgramRun inShell(const QString &script, const QString &folder, const QStringList &environment = {})
{
    const ProgramRun run = runProcess(u"/bin/bash"_s, {u"-c"_s, script},
                                      QStringList{QStringLiteral("B=" ZUVI_TAGGEN_PATH)} + environment, folder, 30000);
    EXPECT_TRUE(run.finished) << "hangs: " << script.toStdString();
    return run;
}

// What never ends (/dev/zero), what waits for a writer (a FIFO) and what is
// too large: passed over where a folder holds them, refused where named, the
// run never held nor its memory grown.
TEST(CheckCommand, WhatIsNoRegularFileOfBoundedSizeNeverHoldsTheRun)
{
    Folder folder;
    folder.write(u"theme/index.htm"_s, "{zuvi:arclist}");
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.filePath(u"theme/fifo.htm"_s)).constData(), 0600), 0);
    for (const auto &[target, link] : {std::pair{"/dev/zero", "zero.htm"}, {"/dev/urandom", "random.htm"}, {"fifo.htm", "fifo-link.htm"}})
        ASSERT_EQ(::symlink(target, QFile::encodeName(folder.filePath(u"theme/"_s + QString::fromUtf8(link))).constData()), 0);
    const ProgramRun walked = inShell(u"$B check theme"_s, folder.path());
    EXPECT_EQ(walked.status, 1) << walked.err.toStdString();
    EXPECT_TRUE(walked.out.startsWith("theme/index.htm:1:1: error: ")) << walked.out.toStdString();
    EXPECT_EQ(walked.err, "zuvi-taggen: theme/fifo-link.htm: note: skipped: a link to what is not a regular file but a FIFO\n"
                          "zuvi-taggen: theme/fifo.htm: note: skipped: not a regular file but a FIFO\n"
                          "zuvi-taggen: theme/random.htm: note: skipped: a link to what is not a regular file but a character device\n"
                          "zuvi-taggen: theme/zero.htm: note: skipped: a link to what is not a regular file but a character device\n");

    ASSERT_EQ(::truncate(QFile::encodeName(folder.filePath(u"theme/index.htm"_s)).constData(), 17 << 20), 0);
    const struct {
        const char *script;
        const char *err;
    } named[] = {
        {"$B check - < /dev/zero", "zuvi-taggen: <stdin>: cannot read: larger than 16 MiB, the most a template may be\n"},
        {"head -c 20000000 /dev/zero | tr '\\0' a | $B check -", "<stdin>: cannot read: larger than 16 MiB"},
        {"$B check theme/index.htm", "zuvi-taggen: theme/index.htm: cannot read: larger than 16 MiB, the most a template may be\n"},
        {"$B check theme/fifo.htm", "zuvi-taggen: theme/fifo.htm: cannot read: not a regular file but a FIFO\n"},
        {"$B check theme/fifo-link.htm", "zuvi-taggen: theme/fifo-link.htm: cannot read: not a regular file but a FIFO\n"},
        {"$B check theme/zero.htm", "zuvi-taggen: theme/zero.htm: cannot read: not a regular file but a character device\n"},
        {"$B check /dev/urandom", "zuvi-taggen: /dev/urandom: cannot read: not a regular file but a character device\n"},
    };
    for (const auto &c : named) {
        SCOPED_TRACE(c.script);
        const ProgramRun run = inShell(QString::fromUtf8(c.script), folder.path());
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.err.contains(c.err)) << run.err.toStdString();
    }
}

// A name in GB18030, as copies of Chinese Windows save it: checked in a
// folder and named on the command line, shown in the locale's encoding, its
// bytes that are none escaped.
TEST(CheckCommand, NamesThatAreNotUtf8AreCheckedAndShownInTheLocale)
{
    Folder folder;
    folder.write(u"theme/.keep"_s, "");
    const QByteArray name = gb18030(u"列表"_s);   // C1 D0 B1 ED: no UTF-8
    writeNamed(folder.filePath(u"theme"_s), name + ".htm", "{zuvi:arclist}");
    const QString octal = u"$(printf '\\301\\320\\261\\355')"_s;
    const QByteArray escaped = "\\xC1\xD0\xB1\\xED";   // D0 B1 is UTF-8 for б
    const struct {
        QString script;
        QByteArray out;   // the start of the report
    } cases[] = {
        {u"$B check --ignore=W303 theme"_s, "theme/" + escaped + ".htm:1:1: error: "},
        {u"$B check theme/"_s + octal + u".htm"_s, "theme/" + escaped + ".htm:1:1: error: "},
        {u"$B check --stdin-filename theme/"_s + octal + u".htm - < theme/"_s + octal + u".htm"_s,
         "theme/" + escaped + ".htm:1:1: error: "},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.script.toStdString());
        const ProgramRun run = inShell(c.script, folder.path());
        EXPECT_EQ(run.status, 1) << run.err.toStdString();
        EXPECT_TRUE(run.out.startsWith(c.out)) << run.out.toStdString();
    }

    // A message naming the file shows it as the report's path does.
    const ProgramRun unused = inShell(u"$B check --select=W303 theme"_s, folder.path());
    EXPECT_TRUE(unused.out.contains("模板 " + escaped + ".htm 没有被其他模板引用")) << unused.out.toStdString();

    // In a GB18030 locale the same bytes are 列表; the report is UTF-8, and
    // what is said on standard error, the system's reason too, GB18030.
    const Gb18030Locale &locale = Gb18030Locale::instance();
    ASSERT_FALSE(locale.path().isEmpty()) << locale.error().toStdString();
    const ProgramRun json = inShell(u"$B check --format json theme"_s, folder.path(), locale.environment());
    EXPECT_EQ(json.status, 1) << json.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(json.out).array()[0].toObject()[u"path"_s].toString(), u"theme/列表.htm"_s)
        << json.out.toStdString();
    const ProgramRun missing = inShell(u"$B check theme/"_s + octal + u"/a.htm"_s, folder.path(), locale.environment());
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, gb18030(u"zuvi-taggen: theme/列表/a.htm: cannot read: 没有那个文件或目录\n"_s));
    // Removed here: QTemporaryDir would read the name as UTF-8 and miss it.
    EXPECT_EQ(inShell(u"rm -r theme"_s, folder.path()).status, 0);
}

TEST(CheckCommand, AFolderThatCannotBeReadIsNotACleanRun)
{
    Folder folder;
    folder.write(u"theme/a.htm"_s, "{zuvi:arclst /}");
    folder.write(u"theme/private/b.htm"_s, "{zuvi:arclist}");
    ASSERT_TRUE(QFile::setPermissions(folder.filePath(u"theme/private"_s), {}));
    // As root, run as nobody, whom the folder's mode keeps out.
    const ProgramRun run = inShell(u"if [ $(id -u) = 0 ]; then chmod 755 . && exec setpriv --reuid=65534 --regid=65534 "
                                   "--clear-groups $B check --ignore=W303 theme; else exec $B check --ignore=W303 theme; fi"_s,
                                   folder.path());
    QFile::setPermissions(folder.filePath(u"theme/private"_s), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "zuvi-taggen: theme/private: cannot read folder: Permission denied\n");
    EXPECT_TRUE(run.out.startsWith("theme/private: error: cannot read folder: Permission denied\n"
                                   "theme/a.htm:1:2: warning: "))
        << run.out.toStdString()
        << "the other files still checked";
}

struct EncodingCase {
    const char *what;
    QByteArray bytes;
    int status;
    const char *out;   // the start of the report
    const char *err;   // a part of standard error ("" for none at all)
};

// Every encoding is read, with the finding where it is, or the file refused:
// none is ever passed over as clean.
TEST(CheckCommand, EveryEncodingIsReadWhereItsFindingsAreOrRefused)
{
    const QString text = u"<p>\r\n标签{zuvi:arclist}\r\n"_s;
    const auto encoded = [&](QStringConverter::Encoding encoding, bool mark) {
        QStringEncoder encoder(encoding, mark ? QStringEncoder::Flag::WriteBom : QStringEncoder::Flag::Default);
        return QByteArray(encoder.encode(text));
    };
    const EncodingCase cases[] = {
        {"UTF-16LE without a mark", encoded(QStringConverter::Utf16LE, false), 1, "x.htm:2:5: error: ",
         "zuvi-taggen: x.htm: note: read as UTF-16LE, which its NUL bytes show (it has no byte order mark)\n"},
        {"UTF-16BE with its mark", encoded(QStringConverter::Utf16BE, true), 1, "x.htm:2:5: error: ", ""},
        {"UTF-32LE without a mark", encoded(QStringConverter::Utf32LE, false), 1, "x.htm:2:5: error: ", "UTF-32LE"},
        {"GB18030 after UTF-8's mark", "\xEF\xBB\xBF" + gb18030(text), 1, "x.htm:2:5: error: ",
         "zuvi-taggen: x.htm: note: read as GB18030: not UTF-8 from line 2 on, though it starts with UTF-8's byte order mark\n"},
        {"UTF-8 but for one GB18030 character", u"<p>标签</p>\r\n"_s.toUtf8() + gb18030(u"列{zuvi:arclist}"_s), 1,
         "x.htm:2:3: error: ", "zuvi-taggen: x.htm: note: read as GB18030: not UTF-8 from line 2 on\n"},
        {"NUL bytes", QByteArray("{zuvi:arclist}\0\0\0", 17), 2, "x.htm: error: cannot decode: it holds NUL bytes",
         "zuvi-taggen: x.htm: cannot decode: it holds NUL bytes, as binary files do\n"},
    };
    Folder folder;
    for (const EncodingCase &c : cases) {
        SCOPED_TRACE(c.what);
        folder.write(u"x.htm"_s, c.bytes);
        const ProgramRun run = zuviTaggen({u"check"_s, u"x.htm"_s}, folder.path());
        EXPECT_EQ(run.status, c.status) << run.err.toStdString();
        EXPECT_TRUE(run.out.startsWith(c.out)) << run.out.toStdString();
        if (*c.err)
            EXPECT_TRUE(run.err.contains(c.err)) << run.err.toStdString();
        else
            EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    }
}

// A file not checked is in the report of every format, not on standard
// error alone: a report read by a tool never passes for a clean run.
TEST(CheckCommand, FilesNotCheckedAreInEveryFormat)
{
    Folder folder;
    folder.write(u"broken.htm"_s, QByteArray("ok \xFF\xFE", 5));
    folder.write(u"good.htm"_s, "{zuvi:arclst /}");
    const QString absent = u"cannot read: No such file or directory"_s;
    const QString broken = u"cannot decode: neither UTF-8 nor GB18030"_s;
    const auto notChecked = [](const QByteArray &out, const char *format) {
        QStringList said;   // "path: message"
        if (qstrcmp(format, "gcc") == 0) {
            for (const QString &line : QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts)) {
                if (line.contains(u": error: "_s))
                    said << line.section(u": error: "_s, 0, 0) + u": "_s + line.section(u": error: "_s, 1);
            }
        } else if (qstrcmp(format, "github") == 0) {
            static const QRegularExpression error(u"^::error file=([^,:]+)::(.*)$"_s, QRegularExpression::MultilineOption);
            for (const QRegularExpressionMatch &m : error.globalMatch(QString::fromUtf8(out)))
                said << m.captured(1) + u": "_s + m.captured(2);
        } else if (qstrcmp(format, "json") == 0) {
            for (const QJsonValue &entry : QJsonDocument::fromJson(out).array()) {
                if (entry.toObject().contains(u"error"_s))
                    said << entry[u"path"_s].toString() + u": "_s + entry[u"error"_s].toString();
            }
        } else {
            const QJsonObject invocation = QJsonDocument::fromJson(out)[u"runs"_s][0][u"invocations"_s][0].toObject();
            EXPECT_FALSE(invocation[u"executionSuccessful"_s].toBool(true));
            for (const QJsonValue &notice : invocation[u"toolExecutionNotifications"_s].toArray())
                said << notice[u"locations"_s][0][u"physicalLocation"_s][u"artifactLocation"_s][u"uri"_s].toString()
                            + u": "_s + notice[u"message"_s][u"text"_s].toString();
        }
        return said;
    };
    for (const FormatCase &format : kFormats) {
        SCOPED_TRACE(format.format);
        const ProgramRun run = zuviTaggen({u"check"_s, u"--format"_s, QString::fromLatin1(format.format), u"absent.htm"_s,
                                           u"broken.htm"_s, u"good.htm"_s},
                                          folder.path());
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(notChecked(run.out, format.format), (QStringList{u"absent.htm: "_s + absent, u"broken.htm: "_s + broken}))
            << run.out.toStdString();
        EXPECT_TRUE(run.out.contains("W101")) << "the good file is still checked";
    }
    std::string why;
    EXPECT_TRUE(validSarif(zuviTaggen({u"check"_s, u"--format=sarif"_s, u"absent.htm"_s}, folder.path()).out, &why)) << why;
}

// One long line with a finding every 190 bytes or so, after Chinese text:
// every finding at its column, counted along the line once, not from the
// line's start for each (which took minutes on a line of 2 MB).
TEST(CheckCommand, ManyFindingsOnOneLongLine)
{
    Folder folder;
    const QString prefix = u"{zuvi:arclist row="_s;
    const QString piece = u"标签"_s + prefix + u"'x'}{/zuvi:arclist}"_s + QString(150, u'a');
    const int pieces = 2 * 1024 * 1024 / int(piece.toUtf8().size());
    QString line;
    for (int i = 0; i < pieces; ++i)
        line += piece;
    folder.write(u"long.htm"_s, line.toUtf8());
    const struct {
        const char *unit;
        int width;   // of a piece
        int before;  // columns from a piece's start to the value
    } units[] = {
        {"display", int(piece.size()) + 2, 4 + int(prefix.size())},
        {"byte", int(piece.toUtf8().size()), 6 + int(prefix.size())},
    };
    for (const auto &unit : units) {
        SCOPED_TRACE(unit.unit);
        const ProgramRun run = zuviTaggen({u"check"_s, u"--fail-level=warning"_s, u"--column-unit"_s,
                                           QString::fromLatin1(unit.unit), u"long.htm"_s},
                                          folder.path());
        ASSERT_EQ(run.status, 1) << run.err.toStdString();
        const QList<Reported> found = fromGcc(run.out);
        ASSERT_EQ(found.size(), pieces);
        for (int i = 0; i < pieces; ++i) {
            ASSERT_EQ(found[i].line, 1);
            ASSERT_EQ(found[i].column, i * unit.width + unit.before + 1) << i;
        }
    }
}

// An include stays under its root and never leads back round: one that
// climbs out is named where it leads, one that goes round is an error in
// each file on the way.
TEST(CheckCommand, IncludesStayInTheirRootAndNeverGoRound)
{
    Folder folder;
    folder.write(u"theme/a.htm"_s, "{zuvi:include file='inc/b.htm' /}\n");
    folder.write(u"theme/inc/b.htm"_s, "{zuvi:include file='a.htm' /}{zuvi:include file='../../../../../../etc/passwd' /}");
    const ProgramRun run = zuviTaggen({u"check"_s, u"theme"_s}, folder.path());
    EXPECT_EQ(run.status, 1) << run.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(run.out),
              u"theme/a.htm:1:21: error: {zuvi:include} 循环包含：a.htm → inc/b.htm → a.htm [E301]\n"
              "theme/inc/b.htm:1:21: error: {zuvi:include} 循环包含：inc/b.htm → a.htm → inc/b.htm [E301]\n"
              "theme/inc/b.htm:1:50: warning: {zuvi:include} 引用的文件 ../../../../../../etc/passwd 在模板根目录之外（/etc/passwd） [W302]\n"_s);
}

TEST(CheckCommand, CommandsBesideTheOptions)
{
    const ProgramRun help = zuviTaggen({u"--help"_s});
    EXPECT_EQ(help.status, 0);
    for (const char *usage : {"zuvi-taggen check [options] PATH...", "zuvi-taggen lsp [--stdio]"})
        EXPECT_TRUE(help.out.contains(usage)) << help.out.toStdString();
    const ProgramRun exported = zuviTaggen({u"export"_s, u"vscode"_s});
    EXPECT_EQ(exported.status, 0);
    EXPECT_EQ(exported.out, zuviTaggen({u"--export"_s, u"vscode"_s}).out);
    EXPECT_FALSE(exported.out.isEmpty());
    const ProgramRun exportHelp = zuviTaggen({u"export"_s, u"--help"_s});
    EXPECT_EQ(exportHelp.status, 0);
    EXPECT_TRUE(exportHelp.out.contains("--export")) << exportHelp.out.toStdString();
    const ProgramRun noFormat = zuviTaggen({u"export"_s});
    EXPECT_EQ(noFormat.status, 2);
    EXPECT_TRUE(noFormat.out.isEmpty());
}

// The manual describes every option the commands list in their help.
TEST(CheckCommand, EveryOptionOfTheCommandsHelpIsInTheManual)
{
    QFile manual(QStringLiteral(ZUVI_MANUAL_PATH));
    ASSERT_TRUE(manual.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(manual.readAll());
    static const QRegularExpression longOption(u"--([a-z][a-z-]+)"_s);
    const struct {
        const char *command;
        qsizetype atLeast;   // so that a help the pattern misses cannot pass
    } commands[] = {{"check", 8}, {"lsp", 2}};
    for (const auto &command : commands) {
        const ProgramRun help = zuviTaggen({QString::fromLatin1(command.command), u"--help"_s});
        QStringList options;
        for (const QRegularExpressionMatch &match : longOption.globalMatch(QString::fromUtf8(help.out))) {
            options << match.captured(1);
            EXPECT_TRUE(page.contains(u"\\-\\-"_s + match.captured(1).replace(u'-', u"\\-"_s)))
                << command.command << ": " << match.captured(1).toStdString();
        }
        EXPECT_GE(options.size(), command.atLeast) << help.out.toStdString();
    }
}

} // namespace
