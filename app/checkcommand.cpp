#include "app/checkcommand.h"

#include "app/command.h"
#include "app/errorline.h"
#include "app/graphoutput.h"

#include "core/check/checkconfig.h"
#include "core/check/checkreport.h"
#include "core/check/checkrules.h"
#include "core/check/checksession.h"
#include "core/files/localetext.h"
#include "core/files/outputfile.h"
#include "core/product.h"
#include "core/files/rawbytes.h"
#include "core/files/runinputs.h"
#include "core/files/templatefile.h"
#include "core/files/templatesources.h"
#include "core/theme/themegraph.h"
#include "core/theme/themeusage.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cstdio>
#include <optional>

#include <unistd.h>

namespace {

void complain(const QString &message)
{
    writeErrorLine(message);
}

// A choice among named values, for an option's value and its error message.
template<typename T>
struct Named {
    const char *name;
    T value;
};

const Named<ColumnUnit> kColumnUnits[] = {
    {"display", ColumnUnit::Display}, {"byte", ColumnUnit::Byte}, {"utf16", ColumnUnit::Utf16}};

template<typename T, size_t N>
QString namesOf(const Named<T> (&choices)[N], const char *separator)
{
    QStringList names;
    for (const Named<T> &choice : choices)
        names << QLatin1String(choice.name);
    return names.join(QLatin1String(separator));
}

template<typename T, size_t N>
std::optional<T> valueNamed(const Named<T> (&choices)[N], const QString &name)
{
    for (const Named<T> &choice : choices) {
        if (name == QLatin1String(choice.name))
            return choice.value;
    }
    return std::nullopt;
}

QString allCodes()
{
    return checkCodes().join(QStringLiteral(", "));
}

// The codes of --select or --ignore, each option given any number of times
// with codes or prefixes of codes separated by commas. A word that starts no
// code is a typo, and a value without a code (--select '') a slip that must
// not select everything: both are errors.
std::optional<QStringList> codesOf(const QStringList &values, const QString &option, QString *problem)
{
    QStringList codes;
    for (const QString &value : values) {
        const QStringList words = value.split(u',', Qt::SkipEmptyParts);
        QStringList trimmed;
        for (const QString &word : words) {
            if (!word.trimmed().isEmpty())
                trimmed << word.trimmed();
        }
        if (trimmed.isEmpty()) {
            *problem = QStringLiteral("--%1 '%2' names no code; the codes are %3.").arg(option, value, allCodes());
            return std::nullopt;
        }
        for (const QString &code : std::as_const(trimmed)) {
            if (!startsSomeCode(code)) {
                *problem = QStringLiteral("'%1' is no code nor the start of one; the codes are %2.").arg(code, allCodes());
                return std::nullopt;
            }
            codes << code;
        }
    }
    return codes;
}

struct Options {
    ReportFormat format = ReportFormat::Gcc;
    ColumnUnit columns = ColumnUnit::Display;
    Severity failLevel = Severity::Error;
    CodeSelection selection;
    QString configFile;
    QString stdinName;
    QByteArray target = "-";   // where the report goes
    QByteArray graphTarget;    // where --graph writes the include graph; empty: nowhere
    QStringList paths;
};

// Why the report must not go where -o says, or nothing: it would take the
// place of a file the run reads.
QString refusalOfTarget(const Options &options)
{
    RunInputs inputs;
    for (const QString &path : options.paths) {
        if (path == u'-')
            inputs.addStandardInput(options.stdinName);
        else
            inputs.addPath(path);
    }
    if (!options.configFile.isEmpty())
        inputs.addConfiguration(options.configFile);
    if (QString why = refusalToWrite(inputs, options.target, QStringLiteral("report")); !why.isEmpty())
        return why;
    if (!options.graphTarget.isEmpty()) {
        if (QString why = refusalToWrite(inputs, options.graphTarget, QStringLiteral("graph")); !why.isEmpty())
            return why;
    }
    if (options.graphTarget == options.target)
        return QStringLiteral("the report and the graph would both go to %1; give each its own with -o and --graph")
            .arg(options.target == "-" ? QStringLiteral("standard output") : textFromRawBytes(options.target));
    return {};
}

// One run over the paths: reads, checks and reports each file in turn, so
// that a theme's texts are never held at once.
class CheckRun
{
public:
    explicit CheckRun(const Options &options)
        : m_options(options), m_session(options.configFile), m_report(options.format, options.columns),
          m_output(options.target)
    {
        // A failure is kept and said at the end.
        m_report.setSink([this](const QByteArray &bytes) { m_output.write(bytes); });
    }

    int run()
    {
        if (const QString problem = GraphOutput(m_options.graphTarget).problem(); !problem.isEmpty()) {
            complain(problem);
            return NotChecked;
        }
        if (!m_output.open()) {
            complain(m_output.errorString());
            return NotChecked;
        }
        for (const QString &path : m_options.paths) {
            if (path == u'-') {
                checkStandardInput();
                continue;
            }
            const TemplateSources sources = templateSources(path);
            if (QFileInfo(path).isDir())
                m_wholeThemes.insert(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
            for (const SourceNotice &skipped : sources.skipped)
                note(skipped.path, skipped.message);
            for (const SourceNotice &error : sources.errors)
                problem(error.path, error.message);
            for (const TemplateSource &source : sources.files)
                checkFile(source);
        }
        // A report cut short is never left as if it were whole.
        if (!m_output.write(m_report.finish()) || !m_output.commit()) {
            complain(m_output.errorString());
            return NotChecked;
        }
        if (!m_options.graphTarget.isEmpty()) {
            if (const QString error = GraphOutput(m_options.graphTarget).write(themeGraphDot(m_themes.themes()));
                !error.isEmpty()) {
                complain(error);
                return NotChecked;
            }
        }
        return m_notChecked ? NotChecked : m_found ? Found : Done;
    }

private:
    void checkFile(const TemplateSource &source)
    {
        if (m_checked.contains(source.absolutePath))
            return;
        m_checked.insert(source.absolutePath);
        const CheckConfig *config = configFor(source);
        if (!config || config->ignores(source.absolutePath))
            return;
        QString error;
        const std::optional<DecodedTemplate> decoded = readTemplateFile(source.file, &error);
        if (!decoded)
            return problem(source.path, error);
        report(source, *config, *decoded, themeFindings(source, *config));
    }

    // A theme read whole (the configuration's template root, or a folder
    // given) says which of its templates none includes; every theme met
    // is drawn by --graph.
    QList<Finding> themeFindings(const TemplateSource &source, const CheckConfig &config)
    {
        const QString root = config.templateRoot.isEmpty() ? source.templateRoot : config.templateRoot;
        if (!m_options.graphTarget.isEmpty())
            m_themes.theme(root, config.siteRoot);
        if (config.templateRoot.isEmpty() && !m_wholeThemes.contains(QDir::cleanPath(root)))
            return {};
        return config.applySeverities(m_themes.unusedFindings(source.absolutePath, root, config.siteRoot));
    }

    // Standard input, named as --stdin-filename says (its configuration and
    // includes found from there), or "<stdin>" in the current folder.
    void checkStandardInput()
    {
        const QString name = m_options.stdinName.isEmpty() ? QStringLiteral("<stdin>") : m_options.stdinName;
        const QFileInfo named(name);
        const TemplateSource source{{}, localeText(rawBytesFromText(name)), named.absoluteFilePath(), named.absolutePath()};
        const CheckConfig *config = configFor(source);
        if (!config || config->ignores(source.absolutePath))
            return;
        QString error;
        const std::optional<DecodedTemplate> decoded = readTemplateFile(STDIN_FILENO, &error);
        if (!decoded)
            return problem(source.path, error);
        report(source, *config, *decoded);
    }

    const CheckConfig *configFor(const TemplateSource &source)
    {
        QString error;
        const CheckConfig *config = m_session.configFor(source.absolutePath, &error);
        if (!config) {
            // Said once, however many files it governs; each of them is a file not checked.
            if (!m_configErrors.contains(error))
                complain(error);
            m_configErrors.insert(error);
            m_report.addProblem(source.path, error);
            m_notChecked = true;
        }
        return config;
    }

    void report(const TemplateSource &source, const CheckConfig &config, const DecodedTemplate &decoded,
                const QList<Finding> &themeFindings = {})
    {
        if (!decoded.note.isEmpty())
            note(source.path, decoded.note);
        const QString &text = decoded.text;
        QList<Finding> findings = themeFindings + m_session.check(text, config, source.templateRoot, source.absolutePath);
        findings.removeIf([&](const Finding &finding) { return !m_options.selection.accepts(finding.code); });
        for (const Finding &finding : findings)
            m_found = m_found || atLeast(finding.severity, m_options.failLevel);
        m_report.addFile(source.path, text, findings);
        m_output.write(m_report.takeOutput());   // a failure is kept and said at the end
    }

    // Said on standard error alone: the run still checked all it was given.
    void note(const QString &path, const QString &message)
    {
        complain(path + QStringLiteral(": note: ") + message);
    }

    // A file or folder not checked: said on standard error and in the
    // report, and the run ends with status 2.
    void problem(const QString &path, const QString &message)
    {
        complain(path + QStringLiteral(": ") + message);
        m_report.addProblem(path, message);
        m_notChecked = true;
    }

    const Options &m_options;
    CheckSession m_session;
    CheckReport m_report;
    OutputFile m_output;
    CheckedThemes m_themes;
    QSet<QString> m_wholeThemes;   // template roots given as folders
    QSet<QString> m_checked;
    QSet<QString> m_configErrors;
    bool m_found = false;
    bool m_notChecked = false;
};

} // namespace

int runCheckCommand(const QStringList &arguments)
{
    const QCommandLineOption formatOption(
        QStringLiteral("format"),
        QStringLiteral("How findings are written: %1 (default gcc).").arg(reportFormatNames(u", ")),
        QStringLiteral("format"));
    const QCommandLineOption columnOption(
        QStringLiteral("column-unit"),
        QStringLiteral("What a column counts in gcc, json and github reports: display (a Chinese character "
                       "is two, a tab goes to the next multiple of 8; the default), byte (UTF-8 bytes) or utf16 "
                       "(UTF-16 code units). SARIF always counts UTF-16 code units."),
        QStringLiteral("unit"));
    const QCommandLineOption failLevelOption(
        QStringLiteral("fail-level"),
        QStringLiteral("Exit with 1 when a finding of this severity or a graver one is reported: %1 (default "
                       "error).")
            .arg(severityNames(u", ")),
        QStringLiteral("severity"));
    const QCommandLineOption selectOption(
        QStringLiteral("select"),
        QStringLiteral("Report only these codes or code prefixes (comma-separated; may be repeated)."),
        QStringLiteral("codes"));
    const QCommandLineOption ignoreOption(
        QStringLiteral("ignore"),
        QStringLiteral("Do not report these codes or code prefixes (comma-separated; may be repeated)."),
        QStringLiteral("codes"));
    const QCommandLineOption configOption(
        QStringLiteral("config"),
        QStringLiteral("Check every file under this configuration instead of the nearest .zuvi-check.json."),
        QStringLiteral("file"));
    const QCommandLineOption stdinNameOption(
        QStringLiteral("stdin-filename"),
        QStringLiteral("The name of what - reads from standard input: reports show it, and its configuration "
                       "and includes are found from it."),
        QStringLiteral("path"));
    const TargetOption output = TargetOption::output(
        QStringLiteral("report"), QStringLiteral("; never to a file the check reads, a template or a configuration"));
    const TargetOption graph(
        {QStringLiteral("graph")},
        QStringLiteral("Also write the include graph of the themes checked to <file> as Graphviz DOT (- is standard "
                       "output), or as SVG drawn by Graphviz's dot where <file> ends in .svg: entry templates at "
                       "the top, missing files dashed red."));
    const QCommandLineOption &outputOption = output.option();
    const QCommandLineOption &graphOption = graph.option();
    const QCommandLineOption help = helpOption();
    const QList<QCommandLineOption> options = {formatOption, columnOption,    failLevelOption, selectOption, ignoreOption,
                                               configOption, stdinNameOption, outputOption,    graphOption,  help};
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Checks ZuviCMS templates: blocks never closed or crossed, stray closing tags, unknown "
                       "tags and attributes, words where numbers go, included files missing, outside their "
                       "root or including one another round, templates no other includes. A folder is "
                       "searched for *.htm and *.html files; only regular files of at most %2 are read. "
                       "Exit status: 0 nothing at or above the fail "
                       "level, 1 something, 2 a usage error or a file that could not be checked. The codes: "
                       "%1; docs/checks.md and man %3 describe them and the configuration.")
            .arg(allCodes(), QLatin1String(kMaxTemplateSize), programName()));
    parser.addOptions(options);
    parser.addPositionalArgument(QStringLiteral("paths"),
                                 QStringLiteral("Template files and folders; - reads standard input."),
                                 QStringLiteral("PATH..."));

    const QString hint = seeHelpOf(QStringLiteral("check"));
    if (!parser.parse(arguments))
        return wrongArguments(parser.errorText(), hint);
    if (parser.isSet(help))
        return printHelp(parser, QStringLiteral("%1 check [options] PATH...")) ? Done : NotChecked;
    if (const QString twice = givenMoreThanOnce(parser, {formatOption, columnOption, failLevelOption, configOption,
                                                         stdinNameOption, outputOption, graphOption});
        !twice.isEmpty())
        return wrongArguments(twice, hint);

    Options run;
    if (parser.isSet(formatOption)) {
        const auto format = reportFormatNamed(parser.value(formatOption));
        if (!format)
            return wrongArguments(QStringLiteral("unknown format '%1'; use %2.")
                                      .arg(parser.value(formatOption), reportFormatNames(u", ")),
                                  hint);
        run.format = *format;
    }
    if (parser.isSet(columnOption)) {
        const auto unit = valueNamed(kColumnUnits, parser.value(columnOption));
        if (!unit)
            return wrongArguments(QStringLiteral("unknown column unit '%1'; use %2.")
                                      .arg(parser.value(columnOption), namesOf(kColumnUnits, ", ")),
                                  hint);
        run.columns = *unit;
    }
    if (parser.isSet(failLevelOption)) {
        const auto level = severityNamed(parser.value(failLevelOption));
        if (!level)
            return wrongArguments(QStringLiteral("unknown fail level '%1'; use %2.")
                                      .arg(parser.value(failLevelOption), severityNames(u", ")),
                                  hint);
        run.failLevel = *level;
    }
    QString problem;
    const auto selected = codesOf(parser.values(selectOption), QStringLiteral("select"), &problem);
    const auto ignored = selected ? codesOf(parser.values(ignoreOption), QStringLiteral("ignore"), &problem) : std::nullopt;
    if (!selected || !ignored)
        return wrongArguments(problem, hint);
    run.selection = {*selected, *ignored};
    run.configFile = parser.value(configOption);
    if (parser.isSet(configOption) && run.configFile.isEmpty())
        return wrongArguments(QStringLiteral("--config needs a file name."), hint);
    run.stdinName = parser.value(stdinNameOption);
    for (const TargetOption *target : {&output, &graph}) {
        if (target->givenEmpty(parser))
            return wrongArguments(target->name() + QStringLiteral(" needs a file name; - is standard output."), hint);
    }
    run.target = output.target(parser, "-");
    run.graphTarget = graph.target(parser, {});
    run.paths = parser.positionalArguments();
    if (run.paths.isEmpty())
        return wrongArguments(QStringLiteral("nothing to check; give template files or folders, or - for standard input."),
                              hint);
    if (run.paths.count(QStringLiteral("-")) > 1)
        return wrongArguments(QStringLiteral("- (standard input) given more than once."), hint);
    if (parser.isSet(stdinNameOption) && !run.paths.contains(QStringLiteral("-")))
        return wrongArguments(QStringLiteral("--stdin-filename names standard input, which only - reads."), hint);
    if (parser.isSet(stdinNameOption) && run.stdinName.isEmpty())
        return wrongArguments(QStringLiteral("--stdin-filename needs a name."), hint);
    if (const QString refusal = refusalOfTarget(run); !refusal.isEmpty()) {
        complain(refusal);
        return NotChecked;
    }
    return CheckRun(run).run();
}
