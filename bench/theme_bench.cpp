// Indexing a theme: a synthetic theme of 400 templates, each made of the
// catalog's snippets with includes of other templates and static files,
// indexed as the checker and the language server index it (reading,
// decoding, parsing, every include and static file with its position),
// beside merely reading and decoding the same files, the floor no index can
// go below. Also one template's text indexed again, as after a keystroke;
// the language server's index, which keeps the blocks too, and its
// workspace symbols found in it.

#include "bench/benchmarks.h"

#include "core/catalog/catalogtags.h"
#include "core/catalog/snippet.h"
#include "core/files/templatefile.h"
#include "core/files/templatesources.h"
#include "core/theme/themeindex.h"
#include "lsp/documents.h"
#include "lsp/workspacesymbols.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using benchmark::State;

constexpr int kFiles = 400;
constexpr qsizetype kFileSize = 8 * 1024;   // characters, about

QString templateName(int i)
{
    const char *folder = i % 4 == 0 ? "" : i % 4 == 1 ? "inc/" : i % 4 == 2 ? "pc/" : "m/";
    return QStringLiteral("%1page%2.htm").arg(QLatin1String(folder)).arg(i);
}

// Written into a temporary folder once per run.
class IncludingTheme
{
public:
    IncludingTheme()
    {
        QStringList snippets;
        for (const CatalogTag &tag : catalogTags())
            snippets << snippetText(tag.lines) + u'\n';
        const QDir root(m_dir.path());
        for (const char *folder : {"inc", "pc", "m"})
            root.mkpath(QString::fromLatin1(folder));
        for (int i = 0; i < kFiles; ++i) {
            QString text;
            for (int k = 1; k <= 3; ++k)
                text += QStringLiteral("{zuvi:include file='%1' /}\n").arg(templateName((i * 7 + k * 13) % kFiles));
            text += QStringLiteral("{zuvi:static file='css/page%1.css, js/page%1.js?v=2' /}\n").arg(i);
            for (qsizetype next = i; text.size() < kFileSize; ++next)
                text += snippets[next % snippets.size()];
            QFile file(root.filePath(templateName(i)));
            if (file.open(QIODevice::WriteOnly))
                file.write(text.toUtf8());
        }
    }

    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

const IncludingTheme &theme()
{
    static const IncludingTheme made;
    return made;
}

// The floor: every file found, read and decoded.
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
    state.counters["files"] = double(files);
}

// The checker's index (links), or the language server's (links and blocks).
void indexing(State &state, ThemeContents contents)
{
    qsizetype links = 0;
    qsizetype blocks = 0;
    for (auto _ : state) {
        ThemeIndex index(theme().path(), {}, contents);
        index.build();
        links = 0;
        blocks = 0;
        for (const QString &path : index.templates()) {
            links += index.find(path)->links.size();
            blocks += index.find(path)->blocks.size();
        }
        benchmark::DoNotOptimize(links);
    }
    state.counters["links"] = double(links);
    state.counters["blocks"] = double(blocks);
}

// workspace/symbol over the theme: a query matching a few blocks by their
// catalog caption's initials, and the empty one, every template and block.
void workspaceSymbols(State &state, const QString &query)
{
    ThemeIndex index(theme().path(), {}, ThemeContents::LinksAndBlocks);
    index.build();
    const WorkspaceSymbols symbols([](const QString &path) { return uriOfPath(path); },
                                   [](const QString &) { return QString(); });
    qsizetype found = 0;
    for (auto _ : state) {
        const QJsonArray result = symbols.find({&index}, query, PositionEncoding::Utf16);
        found = result.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["symbols"] = double(found);
}

// One open template edited: its text indexed again.
void oneTextAgain(State &state)
{
    ThemeIndex index(theme().path());
    index.build();
    const QString path = QDir(theme().path()).filePath(templateName(1));
    QString error;
    const QString text = readTemplateFile(QFile::encodeName(path), &error).value_or(DecodedTemplate{}).text;
    for (auto _ : state)
        index.setText(path, text);
}

} // namespace

void registerThemeBenchmarks()
{
    using benchmark::RegisterBenchmark;
    RegisterBenchmark("Theme/floor/read_decode", readingAndDecoding)->Unit(benchmark::kMillisecond)->MinTime(2);
    RegisterBenchmark("Theme/index", indexing, ThemeContents::Links)->Unit(benchmark::kMillisecond)->MinTime(2);
    RegisterBenchmark("Theme/index_with_blocks", indexing, ThemeContents::LinksAndBlocks)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2);
    RegisterBenchmark("Theme/workspace_symbol/ggw", workspaceSymbols, QStringLiteral("ggw"))->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Theme/workspace_symbol/all", workspaceSymbols, QString())->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Theme/one_text_again", oneTextAgain)->Unit(benchmark::kMicrosecond);
}
