// Checking a theme: a synthetic theme of a few hundred files written from
// the catalog's snippets, checked as `zuvi-taggen check` checks each file
// (configuration, reading, decoding, checking, the gcc report), beside merely
// reading and decoding the same files, the floor no checker can go below.
// The parser, the checker and the report are also measured alone, on texts
// already decoded. And the built program's peak memory over a quarter of the theme and over
// all of it, which must not grow with the number of files.

#include "bench/benchmarks.h"
#include "bench/programmemory.h"

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
        for (const CatalogTag &tag : catalogTags())
            snippets << snippetText(tag.lines) + u'\n';
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
        const QList<TemplateSource> sources = templateSources(theme().path()).files;
        files = sources.size();
        for (const TemplateSource &source : sources)
            benchmark::DoNotOptimize(readTemplateFile(source.file, &error));
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
        const QList<TemplateSource> sources = templateSources(theme().path()).files;
        files = sources.size();
        findings = 0;
        CheckSession session;
        CheckReport report(ReportFormat::Gcc, ColumnUnit::Display);
        for (const TemplateSource &source : sources) {
            const CheckConfig *config = session.configFor(source.absolutePath, &error);
            const std::optional<DecodedTemplate> decoded = readTemplateFile(source.file, &error);
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
        for (const TemplateSource &source : templateSources(theme().path()).files) {
            if (auto decoded = readTemplateFile(source.file, &error))
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

// Peak memory of the built program checking `folder` (report thrown away),
// in MiB; negative where it did not run or failed.
double peakOfCheck(const QString &folder, const char *format)
{
    const ProgramMemory measured = programMemory(
        {ZUVI_TAGGEN_PATH, "check", QByteArray("--format=") + format, QFile::encodeName(folder)});
    return measured.status == 0 || measured.status == 1 ? measured.atExit.peak : -1;
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
