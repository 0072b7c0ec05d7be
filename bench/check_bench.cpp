// Checking a theme: a synthetic theme of a few hundred files written from
// the catalog's snippets, checked as `zuvi-taggen check` checks each file
// (configuration, reading, decoding, checking, the gcc report), beside merely
// reading and decoding the same files, the floor no checker can go below.
// The parser, the checker and the report are also measured alone, on texts
// already decoded. And the built program's peak memory over a quarter of the theme and over
// all of it, which must not grow with the number of files.

#include "bench/benchmarks.h"

#include "core/catalogtags.h"
#include "core/checkreport.h"
#include "core/checksession.h"
#include "core/snippet.h"
#include "core/templatefile.h"
#include "core/templateparser.h"
#include "core/templatesources.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using benchmark::State;

constexpr int kFiles = 400;
constexpr int kQuarter = kFiles / 4;       // the files of the folder "first"
constexpr qsizetype kFileSize = 16 * 1024; // characters, about; several MB in all

// Written into a temporary folder once per run: files of snippets of every
// entry and builder one after another, each file starting at another
// snippet, in a few folders as a theme has them; one file in ten saved as
// GB18030, as many CMS installations save them.
class SyntheticTheme
{
public:
    SyntheticTheme()
    {
        QStringList snippets;
        forEachTag([&](const CatalogTag &tag) { snippets << snippetText(tag.lines) + u'\n'; });
        const QDir root(m_dir.path());
        for (const char *folder : {"first", "pc", "pc/inc", "m"})
            root.mkpath(QString::fromLatin1(folder));
        QStringEncoder gb18030("GB18030");
        for (int i = 0; i < kFiles; ++i) {
            QString text;
            for (qsizetype next = i; text.size() < kFileSize; ++next)
                text += snippets[next % snippets.size()];
            const char *folder = i < kQuarter ? "first" : i % 3 == 0 ? "pc" : i % 3 == 1 ? "pc/inc" : "m";
            QFile file(root.filePath(QStringLiteral("%1/page%2.htm").arg(QLatin1String(folder)).arg(i)));
            if (!file.open(QIODevice::WriteOnly))
                continue;
            const QByteArray bytes = i % 10 == 9 ? QByteArray(gb18030.encode(text)) : text.toUtf8();
            file.write(bytes);
            m_bytes += bytes.size();
        }
    }

    QString path() const { return m_dir.path(); }
    QString quarter() const { return QDir(m_dir.path()).filePath(QStringLiteral("first")); }
    double megabytes() const { return double(m_bytes) / (1024 * 1024); }

private:
    QTemporaryDir m_dir;
    qint64 m_bytes = 0;
};

const SyntheticTheme &theme()
{
    static const SyntheticTheme made;
    return made;
}

void setThemeCounters(State &state, qsizetype files)
{
    state.counters["files"] = double(files);
    state.counters["MB"] = theme().megabytes();
}

// The floor: every file read and decoded.
void readingAndDecoding(State &state)
{
    qsizetype files = 0;
    for (auto _ : state) {
        QString error;
        const QList<TemplateSource> sources = templateSources(theme().path(), &error);
        files = sources.size();
        for (const TemplateSource &source : sources)
            benchmark::DoNotOptimize(readTemplateFile(source.absolutePath, &error));
    }
    setThemeCounters(state, files);
}

// What the command does for each file, its gcc report written to memory and
// dropped as standard output would take it.
void checking(State &state)
{
    qsizetype files = 0;
    qsizetype findings = 0;
    for (auto _ : state) {
        QString error;
        const QList<TemplateSource> sources = templateSources(theme().path(), &error);
        files = sources.size();
        findings = 0;
        CheckSession session;
        CheckReport report(ReportFormat::Gcc, ColumnUnit::Display);
        for (const TemplateSource &source : sources) {
            const CheckConfig *config = session.configFor(source.absolutePath, &error);
            const std::optional<DecodedTemplate> decoded = readTemplateFile(source.absolutePath, &error);
            if (!config || !decoded)
                continue;
            const QList<Finding> found = session.check(decoded->text, *config, source.templateRoot);
            findings += found.size();
            report.addFile(source.path, decoded->text, found);
            benchmark::DoNotOptimize(report.takeOutput());
        }
        benchmark::DoNotOptimize(report.finish());
    }
    setThemeCounters(state, files);
    state.counters["findings"] = double(findings);
}

// The theme's texts decoded once, for the parts of a check measured alone.
const QList<std::pair<TemplateSource, QString>> &decodedTheme()
{
    static const QList<std::pair<TemplateSource, QString>> texts = [] {
        QList<std::pair<TemplateSource, QString>> read;
        QString error;
        for (const TemplateSource &source : templateSources(theme().path(), &error)) {
            if (auto decoded = readTemplateFile(source.absolutePath, &error))
                read.append({source, decoded->text});
        }
        return read;
    }();
    return texts;
}

// Where the time of a check goes, on texts already decoded: the parser
// alone, the checker (the parser included), and the gcc report of the
// checker's findings.
void parsingAlone(State &state)
{
    for (auto _ : state) {
        for (const auto &[source, text] : decodedTheme())
            benchmark::DoNotOptimize(parseTemplate(text));
    }
}

void checkerAlone(State &state)
{
    for (auto _ : state) {
        CheckSession session;
        for (const auto &[source, text] : decodedTheme())
            benchmark::DoNotOptimize(session.check(text, CheckConfig(), source.templateRoot));
    }
}

void reportAlone(State &state)
{
    CheckSession session;
    QList<QList<Finding>> findings;
    for (const auto &[source, text] : decodedTheme())
        findings.append(session.check(text, CheckConfig(), source.templateRoot));
    for (auto _ : state) {
        CheckReport report(ReportFormat::Gcc, ColumnUnit::Display);
        for (qsizetype i = 0; i < findings.size(); ++i) {
            report.addFile(decodedTheme()[i].first.path, decodedTheme()[i].second, findings[i]);
            benchmark::DoNotOptimize(report.takeOutput());
        }
    }
}

// VmHWM of a process, in KiB, from /proc/<pid>/status; negative if unread.
double highWaterMark(pid_t pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble();
    }
    return -1;
}

// The built program over `folder`, its report thrown away: its peak resident
// memory in MiB, or a negative number where it did not run. Read from
// /proc when the program is about to exit, stopped there as a traced child:
// wait4()'s ru_maxrss would also count the memory of the benchmark process,
// which the child is forked from.
double peakOfCheck(const QString &folder, const char *format)
{
    const QByteArray program = ZUVI_TAGGEN_PATH;
    const QByteArray path = QFile::encodeName(folder);
    const QByteArray formatOption = QByteArray("--format=") + format;
    char *const arguments[] = {const_cast<char *>(program.constData()), const_cast<char *>("check"),
                               const_cast<char *>(formatOption.constData()), const_cast<char *>(path.constData()),
                               nullptr};
    const pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        raise(SIGSTOP);
        execv(arguments[0], arguments);
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ptrace(PTRACE_SETOPTIONS, child, nullptr,
           reinterpret_cast<void *>(PTRACE_O_TRACEEXIT | PTRACE_O_TRACEEXEC | PTRACE_O_EXITKILL));
    ptrace(PTRACE_CONT, child, nullptr, nullptr);
    double peak = -1;
    while (waitpid(child, &status, 0) == child && WIFSTOPPED(status)) {
        if (status >> 16 == PTRACE_EVENT_EXIT)
            peak = highWaterMark(child);
        const int signal = WSTOPSIG(status) == SIGTRAP ? 0 : WSTOPSIG(status);
        ptrace(PTRACE_CONT, child, nullptr, reinterpret_cast<void *>(long(signal)));
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) > 1)
        return -1;
    return peak / 1024;
}

// Peak memory of `zuvi-taggen check` over the first quarter of the theme and
// over all of it, in a format of lines (gcc) and in one document (SARIF).
void peakMemory(State &state, const char *format)
{
    double quarter = 0;
    double whole = 0;
    for (auto _ : state) {
        quarter = peakOfCheck(theme().quarter(), format);
        whole = peakOfCheck(theme().path(), format);
    }
    if (quarter < 0 || whole < 0) {
        state.SkipWithError("zuvi-taggen check did not run");
        return;
    }
    state.counters["quarter_MiB"] = quarter;
    state.counters["whole_MiB"] = whole;
    state.counters["growth_MiB"] = whole - quarter;
    state.counters["files"] = kFiles;
}

} // namespace

void registerCheckBenchmarks()
{
    using benchmark::RegisterBenchmark;
    RegisterBenchmark("Check/floor/read_decode", readingAndDecoding)->Unit(benchmark::kMillisecond)->MinTime(2);
    RegisterBenchmark("Check/theme", checking)->Unit(benchmark::kMillisecond)->MinTime(2);
    RegisterBenchmark("Check/part/parser", parsingAlone)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Check/part/checker", checkerAlone)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Check/part/report", reportAlone)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Check/peak_memory/gcc", [](State &state) { peakMemory(state, "gcc"); })
        ->Iterations(3)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Check/peak_memory/sarif", [](State &state) { peakMemory(state, "sarif"); })
        ->Iterations(3)->Unit(benchmark::kMillisecond);
}
