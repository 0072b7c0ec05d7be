// The language server (`zuvi-taggen lsp`) on a template of 10,000 lines
// written from the catalog's snippets, as a client such as VS Code drives
// it: a completion answered, and the diagnostics published after a
// one-character change. Each runs in process through the server's message
// handling as the standard-input loop drives it: the body as the client
// framed it parsed, handled, and the answer serialised and framed. And the
// built program's memory with that document open, against the same program
// started and ended with no document open.

#include "bench/benchmarks.h"
#include "bench/programmemory.h"

#include "core/catalogtags.h"
#include "core/snippet.h"
#include "lsp/documents.h"
#include "lsp/languageserver.h"
#include "lsp/messagereader.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using benchmark::State;

constexpr int kLines = 10000;

QByteArray body(const QJsonObject &message)
{
    return QJsonDocument(message).toJson(QJsonDocument::Compact);
}

QJsonObject request(int id, const QString &method, const QJsonObject &params)
{
    return {{QStringLiteral("jsonrpc"), QStringLiteral("2.0")}, {QStringLiteral("id"), id},
            {QStringLiteral("method"), method}, {QStringLiteral("params"), params}};
}

QJsonObject notification(const QString &method, const QJsonObject &params)
{
    return {{QStringLiteral("jsonrpc"), QStringLiteral("2.0")}, {QStringLiteral("method"), method},
            {QStringLiteral("params"), params}};
}

QJsonObject position(int line, int character)
{
    return {{QStringLiteral("line"), line}, {QStringLiteral("character"), character}};
}

// The template, a file in a temporary folder (its includes name files the
// folder does not have, so it has findings as a theme being written does),
// and the messages a client sends about it.
class LargeTemplate
{
public:
    LargeTemplate()
    {
        QStringList snippets;
        for (const CatalogTag &tag : catalogTags())
            snippets << snippetText(tag.lines).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QStringList lines;
        for (qsizetype next = 0; lines.size() < kLines; ++next) {
            QStringList more = snippets[next % snippets.size()].split(u'\n');
            more.removeLast();   // the empty piece after the last line end
            lines << more;
        }
        lines.resize(kLines);
        // Where the user types: a word to complete, a tag being opened, and a
        // number the benchmark changes.
        m_wordLine = kLines / 2;
        lines[m_wordLine] = QStringLiteral("<li>fenye</li>");
        m_braceLine = m_wordLine + 1;
        lines[m_braceLine] = QStringLiteral("<p>{</p>");
        m_numberLine = m_wordLine + 2;
        lines[m_numberLine] = QStringLiteral("{zuvi:arclist row='10'}{$field.title}{/zuvi:arclist}");
        m_text = lines.join(u'\n') + u'\n';

        m_uri = uriOfPath(QDir(m_dir.path()).filePath(QStringLiteral("index.htm")));
        QFile file(QDir(m_dir.path()).filePath(QStringLiteral("index.htm")));
        if (file.open(QIODevice::WriteOnly))
            file.write(m_text.toUtf8());
    }

    QString folder() const { return m_dir.path(); }
    double megabytes() const { return double(m_text.toUtf8().size()) / (1024 * 1024); }

    // initialize with what VS Code says it takes (snippets, Markdown, UTF-16,
    // pushed diagnostics), and initialized.
    QList<QByteArray> start() const
    {
        const QJsonObject capabilities{
            {QStringLiteral("general"),
             QJsonObject{{QStringLiteral("positionEncodings"), QJsonArray{QStringLiteral("utf-16")}}}},
            {QStringLiteral("textDocument"),
             QJsonObject{
                 {QStringLiteral("completion"),
                  QJsonObject{{QStringLiteral("completionItem"),
                               QJsonObject{{QStringLiteral("snippetSupport"), true},
                                           {QStringLiteral("documentationFormat"),
                                            QJsonArray{QStringLiteral("markdown"), QStringLiteral("plaintext")}}}}}},
                 {QStringLiteral("hover"),
                  QJsonObject{{QStringLiteral("contentFormat"),
                               QJsonArray{QStringLiteral("markdown"), QStringLiteral("plaintext")}}}},
                 {QStringLiteral("publishDiagnostics"), QJsonObject{{QStringLiteral("relatedInformation"), true}}}}}};
        const QString root = uriOfPath(m_dir.path());
        return {body(request(1, QStringLiteral("initialize"),
                             {{QStringLiteral("processId"), QJsonValue::Null},
                              {QStringLiteral("rootUri"), root},
                              {QStringLiteral("capabilities"), capabilities},
                              {QStringLiteral("workspaceFolders"),
                               QJsonArray{QJsonObject{{QStringLiteral("uri"), root},
                                                      {QStringLiteral("name"), QStringLiteral("theme")}}}}})),
                body(notification(QStringLiteral("initialized"), {}))};
    }
    QByteArray open() const
    {
        return body(notification(
            QStringLiteral("textDocument/didOpen"),
            {{QStringLiteral("textDocument"),
              QJsonObject{{QStringLiteral("uri"), m_uri}, {QStringLiteral("languageId"), QStringLiteral("html")},
                          {QStringLiteral("version"), 1}, {QStringLiteral("text"), m_text}}}}));
    }
    // A character typed into the number ("10" becomes "1x0", a finding) or
    // taken out again (the finding gone): either way the findings change
    // and are published.
    QByteArray change(bool typed, int version) const
    {
        const int at = int(QStringView(u"{zuvi:arclist row='1").size());
        const QJsonObject range{{QStringLiteral("start"), position(m_numberLine, at)},
                                {QStringLiteral("end"), position(m_numberLine, typed ? at : at + 1)}};
        const QJsonObject change{{QStringLiteral("range"), range},
                                 {QStringLiteral("text"), typed ? QStringLiteral("x") : QString()}};
        return body(notification(
            QStringLiteral("textDocument/didChange"),
            {{QStringLiteral("textDocument"),
              QJsonObject{{QStringLiteral("uri"), m_uri}, {QStringLiteral("version"), version}}},
             {QStringLiteral("contentChanges"), QJsonArray{change}}}));
    }
    // Completion right after "fenye", and right after a "{" (every entry offered).
    QByteArray completeWord(int id) const { return completionAt(id, m_wordLine, 9); }
    QByteArray completeBrace(int id) const { return completionAt(id, m_braceLine, 4); }
    QList<QByteArray> end() const
    {
        return {body(request(1000000, QStringLiteral("shutdown"), {})), body(notification(QStringLiteral("exit"), {}))};
    }

private:
    QByteArray completionAt(int id, int line, int character) const
    {
        return body(request(id, QStringLiteral("textDocument/completion"),
                            {{QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), m_uri}}},
                             {QStringLiteral("position"), position(line, character)}}));
    }

    QTemporaryDir m_dir;
    QString m_text;
    QString m_uri;
    int m_wordLine = 0;
    int m_braceLine = 0;
    int m_numberLine = 0;
};

const LargeTemplate &largeTemplate()
{
    static const LargeTemplate made;
    return made;
}

// The server as the standard-input loop drives it, its messages framed as
// they would be written; what it sent last kept to be looked at.
class DrivenServer
{
public:
    DrivenServer()
        : m_server([this](const QJsonObject &message) {
              m_framed = frameMessage(QJsonDocument(message).toJson(QJsonDocument::Compact));
              m_lastMethod = message.value(QStringLiteral("method")).toString();
              m_lastHadResult = message.contains(QStringLiteral("result"));
              if (m_lastMethod == QStringLiteral("textDocument/publishDiagnostics"))
                  m_findings = message[QStringLiteral("params")][QStringLiteral("diagnostics")].toArray().size();
              ++m_sent;
          })
    {
    }

    void deliver(const QByteArray &body)
    {
        m_server.receive(body);
        while (m_server.handleNext()) {
        }
    }

    qsizetype sent() const { return m_sent; }
    const QString &lastMethod() const { return m_lastMethod; }
    bool lastHadResult() const { return m_lastHadResult; }
    qsizetype lastSize() const { return m_framed.size(); }
    qsizetype findings() const { return m_findings; }   // in the diagnostics published last

private:
    LanguageServer m_server;
    QByteArray m_framed;
    QString m_lastMethod;
    bool m_lastHadResult = false;
    qsizetype m_sent = 0;
    qsizetype m_findings = 0;
};

// A server with the template open.
void openTemplate(DrivenServer &server)
{
    for (const QByteArray &message : largeTemplate().start())
        server.deliver(message);
    server.deliver(largeTemplate().open());
}

void completionAnswered(State &state, bool afterBrace)
{
    DrivenServer server;
    openTemplate(server);
    int id = 10;
    const QByteArray first = afterBrace ? largeTemplate().completeBrace(id) : largeTemplate().completeWord(id);
    server.deliver(first);
    if (!server.lastHadResult()) {
        state.SkipWithError("completion was not answered");
        return;
    }
    for (auto _ : state)
        server.deliver(first);   // the same id again: the server answers each request as it comes
    state.counters["answer_KiB"] = double(server.lastSize()) / 1024;
    state.counters["MB"] = largeTemplate().megabytes();
}

void diagnosticsAfterChange(State &state)
{
    DrivenServer server;
    openTemplate(server);
    int version = 1;
    qsizetype published = 0;
    qsizetype changes = 0;
    for (auto _ : state) {
        const qsizetype before = server.sent();
        server.deliver(largeTemplate().change(version % 2 == 1, version + 1));
        ++version;
        ++changes;
        if (server.sent() > before && server.lastMethod() == QStringLiteral("textDocument/publishDiagnostics"))
            ++published;
    }
    if (published != changes)
        state.SkipWithError("a change was not followed by its diagnostics");
    state.counters["MB"] = largeTemplate().megabytes();
    state.counters["findings"] = double(server.findings());
}

// The built program's memory as it exits: the floor (initialize, shutdown,
// exit) and with the template opened, changed and completed in between.
void memoryWithTemplateOpen(State &state)
{
    const auto script = [](const QList<QByteArray> &bodies, const QString &name) {
        const QString path = QDir(largeTemplate().folder()).filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) {
            for (const QByteArray &message : bodies)
                file.write(frameMessage(message));
        }
        return path;
    };
    const LargeTemplate &made = largeTemplate();
    const QString floorInput = script(made.start() + made.end(), QStringLiteral("floor.lsp"));
    const QString openInput = script(made.start()
                                         + QList<QByteArray>{made.open(), made.change(true, 2),
                                                             made.completeWord(10), made.completeBrace(11)}
                                         + made.end(),
                                     QStringLiteral("open.lsp"));
    ProgramMemory floor;
    ProgramMemory open;
    for (auto _ : state) {
        floor = programMemory({ZUVI_TAGGEN_PATH, "lsp"}, floorInput);
        open = programMemory({ZUVI_TAGGEN_PATH, "lsp"}, openInput);
    }
    if (floor.status != 0 || open.status != 0) {
        state.SkipWithError("zuvi-taggen lsp did not end with status 0");
        return;
    }
    state.counters["floor_MiB"] = floor.atExit.total;
    state.counters["open_MiB"] = open.atExit.total;
    state.counters["floor_peak_MiB"] = floor.atExit.peak;
    state.counters["open_peak_MiB"] = open.atExit.peak;
    state.counters["MB"] = made.megabytes();
}

} // namespace

void registerLanguageServerBenchmarks()
{
    using benchmark::RegisterBenchmark;
    RegisterBenchmark("Lsp/completion/word", [](State &state) { completionAnswered(state, false); })
        ->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Lsp/completion/brace", [](State &state) { completionAnswered(state, true); })
        ->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Lsp/diagnostics_after_change", diagnosticsAfterChange)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Lsp/memory", memoryWithTemplateOpen)->Iterations(3)->Unit(benchmark::kMillisecond);
}
