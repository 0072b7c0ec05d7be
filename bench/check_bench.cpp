// Checking a theme: a synthetic theme of a few hundred files written from
// the catalog's snippets, checked as `zuvi-taggen check` checks each file
// (configuration, reading, decoding, checking, the gcc report), beside merely
// reading and decoding the same files, the floor no checker can go below;
// at 1, 4 and 16 times the files, each next to its floor in the same run.
// The built program is run over the same themes too, as a user runs it (its
// wall time against the floor's). The parser, the checker and the report are
// also measured alone, on texts already decoded. And the built program's peak
// memory over a quarter of the theme and over all of it, which must not grow
// with the number of files.

#include "bench/benchmarks.h"
#include "bench/programmemory.h"

#include "core/catalog/catalogtags.h"
#include "core/check/checkconfig.h"
#include "core/catalog/tagknowledge.h"
#include "core/check/checkreport.h"
#include "core/check/checksession.h"
#include "core/catalog/snippet.h"
#include "core/files/templatefile.h"
#include "core/template/templateparser.h"
#include "core/files/templatesources.h"

#include <QDir>
#include <QJsonDocument>
#include <QFile>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <memory>

#include <sys/resource.h>

namespace {

using benchmark::State;

constexpr int kFiles = 400;                // at 1x
constexpr int kQuarter = kFiles / 4;       // the files of the folder "first"
constexpr qsizetype kFileSize = 16 * 1024; // characters, about; several MB in all
constexpr std::array kScales = {1, 4, 16}; // times kFiles

// Written into a temporary folder once per run: files of snippets of every
// entry and builder one after another, each file starting at another
// snippet, in a few folders as a theme has them; one file in ten saved as
// GB18030, as many CMS installations save them. At `scale` times the files
// of the same kind, so that the time of a check can be seen to grow with
// the size of the theme and no faster.
class SyntheticTheme
{
public:
    explicit SyntheticTheme(int scale) : m_files(kFiles * scale)
    {
        QStringList snippets;
        for (const CatalogTag &tag : catalogTags())
            snippets << snippetText(tag.lines) + u'\n';
        const QDir root(m_dir.path());
        for (const char *folder : {"first", "pc", "pc/inc", "m"})
            root.mkpath(QString::fromLatin1(folder));
        QStringEncoder gb18030("GB18030");
        for (int i = 0; i < m_files; ++i) {
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
    int m_files = 0;
    qint64 m_bytes = 0;
};

// The theme at `scale` (one of kScales), written when first asked for.
const SyntheticTheme &theme(int scale = 1)
{
    static std::array<std::unique_ptr<SyntheticTheme>, kScales.size()> made;
    const auto at = std::find(kScales.begin(), kScales.end(), scale) - kScales.begin();
    if (!made[at])
        made[at] = std::make_unique<SyntheticTheme>(scale);
    return *made[at];
}

void setThemeCounters(State &state, qsizetype files, int scale)
{
    state.counters["files"] = double(files);
    state.counters["MB"] = theme(scale).megabytes();
}

// The floor: every file read and decoded.
void readingAndDecoding(State &state)
{
    const int scale = int(state.range(0));
    qsizetype files = 0;
    for (auto _ : state) {
        QString error;
        const QList<TemplateSource> sources = templateSources(theme(scale).path()).files;
        files = sources.size();
        for (const TemplateSource &source : sources)
            benchmark::DoNotOptimize(readTemplateFile(source.file, &error));
    }
    setThemeCounters(state, files, scale);
}

// What the command does for each file, its gcc report written to memory and
// dropped as standard output would take it.
void checking(State &state)
{
    const int scale = int(state.range(0));
    qsizetype files = 0;
    qsizetype findings = 0;
    for (auto _ : state) {
        QString error;
        const QList<TemplateSource> sources = templateSources(theme(scale).path()).files;
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
    setThemeCounters(state, files, scale);
    state.counters["findings"] = double(findings);
}

// The built program over the whole theme as a user runs it, its report
// thrown away: wall time from start to exit (the benchmark's time), and the
// processor time of the program in all its threads ("cpu_ms").
void checkingProgram(State &state)
{
    const int scale = int(state.range(0));
    double cpuMs = 0;
    for (auto _ : state) {
        rusage before{};
        getrusage(RUSAGE_CHILDREN, &before);
        const auto start = std::chrono::steady_clock::now();
        QProcess program;
        program.setStandardOutputFile(QProcess::nullDevice());
        program.setStandardErrorFile(QProcess::nullDevice());
        program.start(QStringLiteral(ZUVI_TAGGEN_PATH), {QStringLiteral("check"), theme(scale).path()});
        const bool ran = program.waitForFinished(-1) && program.exitStatus() == QProcess::NormalExit
                         && (program.exitCode() == 0 || program.exitCode() == 1);
        const auto end = std::chrono::steady_clock::now();
        if (!ran) {
            state.SkipWithError("zuvi-taggen check did not run");
            return;
        }
        rusage after{};
        getrusage(RUSAGE_CHILDREN, &after);
        const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
        cpuMs += ms(after.ru_utime) - ms(before.ru_utime) + ms(after.ru_stime) - ms(before.ru_stime);
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["cpu_ms"] = cpuMs / double(state.iterations());
    state.counters["MB"] = theme(scale).megabytes();
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

// One template file of the catalog's snippets one after another, 64 MiB.
class BigFile
{
public:
    BigFile()
    {
        QString snippets;
        for (const CatalogTag &tag : catalogTags())
            snippets += snippetText(tag.lines) + u'\n';
        const QByteArray bytes = snippets.toUtf8();
        QFile file(path());
        if (!file.open(QIODevice::WriteOnly))
            return;
        for (qint64 written = 0; written < kSize; written += bytes.size())
            file.write(bytes);
        m_bytes = file.size();
    }

    QString path() const { return m_dir.filePath(QStringLiteral("big.htm")); }
    double megabytes() const { return double(m_bytes) / (1024 * 1024); }

private:
    static constexpr qint64 kSize = 64 * 1024 * 1024;
    QTemporaryDir m_dir;
    qint64 m_bytes = 0;
};

// Peak memory of `zuvi-taggen check big.htm` against that of merely reading
// and decoding it (bench/readdecode_main.cpp), in MiB.
void bigFilePeakMemory(State &state)
{
    static const BigFile big;
    double check = 0;
    double floor = 0;
    for (auto _ : state) {
        const ProgramMemory checked = programMemory({ZUVI_TAGGEN_PATH, "check", QFile::encodeName(big.path())});
        const ProgramMemory read = programMemory({ZUVI_READ_DECODE_PATH, QFile::encodeName(big.path())});
        if ((checked.status != 0 && checked.status != 1) || read.status != 0) {
            state.SkipWithError("zuvi-taggen check or zuvi-read-decode did not run");
            return;
        }
        check = checked.atExit.peak;
        floor = read.atExit.peak;
    }
    state.counters["MB"] = big.megabytes();
    state.counters["check_MiB"] = check;
    state.counters["floor_MiB"] = floor;
    state.counters["x_floor"] = check / floor;
}

// A line of 2 MB with a finding every 190 bytes or so, after Chinese text.
struct LongLine {
    QString text;
    QList<Finding> findings;
    LongLine()
    {
        const QString piece = QStringLiteral("标签{zuvi:arclist row='x'}{/zuvi:arclist}") + QString(150, u'a');
        while (text.size() < 2 * 1024 * 1024 / 3) {
            findings.append({QStringLiteral("W201"), Severity::Warning, text.size() + 20, 3, QStringLiteral("消息"), {}});
            text += piece;
        }
    }
};

// The gcc report of the long line in `unit`; UTF-16 columns, which need no
// walk along the line, are the floor of display and byte columns.
void longLineReport(State &state, ColumnUnit unit)
{
    static const LongLine line;
    for (auto _ : state) {
        CheckReport report(ReportFormat::Gcc, unit);
        report.addFile(QStringLiteral("long.htm"), line.text, line.findings);
        benchmark::DoNotOptimize(report.finish());
    }
    state.counters["findings"] = double(line.findings.size());
}

// A configuration declaring 160,000 tags of the site's own, read and made
// into the tag knowledge a check uses, against reading its JSON alone.
const QByteArray &manyTags()
{
    static const QByteArray json = [] {
        QByteArray text = "{\"tags\": [";
        for (int i = 0; i < 160000; ++i)
            text += "{\"name\": \"site" + QByteArray::number(i) + "\", \"block\": " + (i % 2 ? "true" : "false")
                + ", \"attributes\": [\"a" + QByteArray::number(i % 50) + "\"]},";
        text.chop(1);
        return text + "]}";
    }();
    return json;
}

void manyTagsJsonAlone(State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(QJsonDocument::fromJson(manyTags()));
}

void manyTagsConfiguration(State &state)
{
    for (auto _ : state) {
        const auto config = CheckConfig::parse(manyTags(), QStringLiteral("/site/.zuvi-check.json"), nullptr);
        if (!config) {
            state.SkipWithError("the configuration did not read");
            return;
        }
        benchmark::DoNotOptimize(TagKnowledge::catalog().withSiteTags(config->siteTags));
    }
}

} // namespace

void registerCheckBenchmarks()
{
    using benchmark::RegisterBenchmark;
    // Each size's check right after its floor, so that both see the same
    // load of the machine. Processor time of every thread of the process, so
    // that a check spread over threads is not counted as its main thread's.
    for (const int scale : kScales) {
        RegisterBenchmark("Check/floor/read_decode", readingAndDecoding)
            ->Arg(scale)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond)->MinTime(2);
        RegisterBenchmark("Check/theme", checking)
            ->Arg(scale)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond)->MinTime(2);
        RegisterBenchmark("Check/program", checkingProgram)
            ->Arg(scale)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
    }
    RegisterBenchmark("Check/part/parser", parsingAlone)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Check/part/checker", checkerAlone)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Check/part/report", reportAlone)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Check/peak_memory/gcc", [](State &state) { peakMemory(state, "gcc"); })
        ->Iterations(3)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Check/peak_memory/sarif", [](State &state) { peakMemory(state, "sarif"); })
        ->Iterations(3)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Check/peak_memory/big_file", bigFilePeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Check/long_line/floor_utf16", [](State &state) { longLineReport(state, ColumnUnit::Utf16); })
        ->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Check/long_line/display", [](State &state) { longLineReport(state, ColumnUnit::Display); })
        ->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Check/long_line/byte", [](State &state) { longLineReport(state, ColumnUnit::Byte); })
        ->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Check/site_tags/floor_json", manyTagsJsonAlone)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Check/site_tags/configuration", manyTagsConfiguration)->Unit(benchmark::kMillisecond);
}
