// The language server (`zuvi-taggen lsp`) on a template of 10,000 lines
// written from the catalog's snippets, as a client such as VS Code drives
// it: a completion answered, and the diagnostics published after a
// one-character change. Each runs in process through the server's message
// handling as the standard-input loop drives it: the body as the client
// framed it parsed, handled, and the answer serialised and framed. And the
// built program's memory with that document open, against the same program
// started and ended with no document open.
//
// Lsp/pipe/* run the built program as an editor does, on its pipes: the
// time from a change or request written to the findings or answer read,
// p50 and p99 over 300 of them, against the floor of the same run, a
// request the server answers without work (MethodNotFound) through the
// same pipes; on the template with its few findings and on one with
// findings on every 20th line.

#include "bench/benchmarks.h"
#include "bench/programmemory.h"

#include "core/catalog/catalogtags.h"
#include "core/catalog/snippet.h"
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

#include <algorithm>
#include <cmath>
#include <deque>
#include <functional>
#include <optional>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using benchmark::State;

constexpr int kLines = 10000;
constexpr int kDenseStride = 20;

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
    // `dense`: every 20th line a number attribute that is no number, so
    // that findings stand on hundreds of lines.
    explicit LargeTemplate(bool dense = false)
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
        if (dense) {
            for (int line = 0; line < kLines; line += kDenseStride)
                lines[line] = QStringLiteral("{zuvi:arclist row='ten'}{$field.title}{/zuvi:arclist}");
        }
        // Where the user types: a word to complete, a tag being opened, the
        // tag prefix with and without a word after it, and a number the
        // benchmark changes.
        m_wordLine = kLines / 2 + 1;
        lines[m_wordLine] = QStringLiteral("<li>fenye</li>");
        m_braceLine = m_wordLine + 1;
        lines[m_braceLine] = QStringLiteral("<p>{</p>");
        m_numberLine = m_wordLine + 2;
        lines[m_numberLine] = QStringLiteral("{zuvi:arclist row='10'}{$field.title}{/zuvi:arclist}");
        m_prefixLine = m_wordLine + 3;
        lines[m_prefixLine] = QStringLiteral("<p>{zuvi:</p>");
        m_typedLine = m_wordLine + 4;
        lines[m_typedLine] = QStringLiteral("<p>{zuvi:fen</p>");
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
    // After "{zuvi:", and after "{zuvi:fen".
    QByteArray completePrefix(int id) const { return completionAt(id, m_prefixLine, 9); }
    QByteArray completeTyped(int id) const { return completionAt(id, m_typedLine, 12); }
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
    int m_prefixLine = 0;
    int m_typedLine = 0;
};

const LargeTemplate &largeTemplate()
{
    static const LargeTemplate made;
    return made;
}

const LargeTemplate &denseTemplate()
{
    static const LargeTemplate made(true);
    return made;
}

// The server as the standard-input loop drives it, its messages framed as
// they would be written; what it sent last kept to be looked at.
class DrivenServer
{
public:
    DrivenServer()
        : m_server([this](const QByteArray &body) {
              m_framed = frameMessage(body);
              // Told apart without reading the JSON back: that is the
              // client's cost, not the server's.
              m_lastPublished = body.contains("\"method\":\"textDocument/publishDiagnostics\"");
              m_lastHadResult = body.contains("\"result\":");
              if (m_lastPublished)
                  m_publishedBody = body;
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
    bool lastPublished() const { return m_lastPublished; }
    bool lastHadResult() const { return m_lastHadResult; }
    qsizetype lastSize() const { return m_framed.size(); }
    // In the diagnostics published last.
    qsizetype findings() const
    {
        return QJsonDocument::fromJson(m_publishedBody)[QStringLiteral("params")][QStringLiteral("diagnostics")].toArray().size();
    }

private:
    LanguageServer m_server;
    QByteArray m_framed;
    QByteArray m_publishedBody;
    bool m_lastPublished = false;
    bool m_lastHadResult = false;
    qsizetype m_sent = 0;
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
        if (server.sent() > before && server.lastPublished())
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

// --- through the pipes ---

// `zuvi-taggen lsp` as a child on pipes, as an editor runs it: what is
// sent goes as the pipe takes it, and what comes back is read meanwhile,
// each message stamped with the moment its last byte arrived.
class ServerProcess
{
public:
    ServerProcess()
    {
        int input[2];
        int output[2];
        if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        char program[] = ZUVI_TAGGEN_PATH;
        char command[] = "lsp";
        char *arguments[] = {program, command, nullptr};
        if (posix_spawn(&m_pid, program, &actions, nullptr, arguments, environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(input[0]);
        ::close(output[1]);
        m_in = input[1];
        m_out = output[0];
        ::fcntl(m_in, F_SETFL, ::fcntl(m_in, F_GETFL) | O_NONBLOCK);
    }
    ~ServerProcess()
    {
        if (m_in >= 0)
            ::close(m_in);
        if (m_out >= 0)
            ::close(m_out);
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    ServerProcess(const ServerProcess &) = delete;
    ServerProcess &operator=(const ServerProcess &) = delete;

    bool running() const { return m_pid > 0; }
    void send(const QByteArray &body) { m_unsent += frameMessage(body); }

    struct Arrival {
        Clock::time_point at;
        QByteArray body;
    };
    // Pumps the pipes until a message comes that `wanted` holds for.
    std::optional<Arrival> waitFor(const std::function<bool(const QByteArray &body)> &wanted)
    {
        for (;;) {
            while (!m_arrived.empty()) {
                Arrival next = std::move(m_arrived.front());
                m_arrived.pop_front();
                if (wanted(next.body))
                    return next;
            }
            if (!pump())
                return std::nullopt;
        }
    }

private:
    bool pump()
    {
        pollfd fds[2] = {{m_out, POLLIN, 0}, {m_unsent.isEmpty() ? -1 : m_in, POLLOUT, 0}};
        if (::poll(fds, 2, 20000) <= 0)
            return false;
        if (fds[1].revents & POLLOUT) {
            const ssize_t n = ::write(m_in, m_unsent.constData(), size_t(m_unsent.size()));
            if (n > 0)
                m_unsent.remove(0, n);
        }
        if (fds[0].revents & (POLLIN | POLLHUP)) {
            char buffer[65536];
            const ssize_t n = ::read(m_out, buffer, sizeof buffer);
            if (n <= 0)
                return false;
            const Clock::time_point now = Clock::now();
            m_reader.append(QByteArrayView(buffer, n));
            for (auto item = m_reader.next(); item.kind != MessageReader::Item::Nothing; item = m_reader.next())
                m_arrived.push_back({now, item.body});
        }
        return true;
    }

    pid_t m_pid = -1;
    int m_in = -1;
    int m_out = -1;
    QByteArray m_unsent;
    MessageReader m_reader;
    std::deque<Arrival> m_arrived;
};

bool answers(const QByteArray &body, int id)
{
    return body.contains("\"id\":" + QByteArray::number(id) + ',') || body.endsWith("\"id\":" + QByteArray::number(id) + '}');
}

bool publishes(const QByteArray &body, int version)
{
    return body.contains("\"method\":\"textDocument/publishDiagnostics\"")
        && body.contains("\"version\":" + QByteArray::number(version) + ',');
}

struct Percentiles {
    double p50 = 0;
    double p99 = 0;
};
Percentiles percentiles(std::vector<double> values)
{
    if (values.empty())
        return {};
    std::sort(values.begin(), values.end());
    const auto rank = [&](double p) { return values[std::min(values.size() - 1, size_t(std::ceil(p * double(values.size()))) - 1)]; };
    return {rank(0.50), rank(0.99)};
}

constexpr int kSamples = 300;

// The server started with `made` open and its first findings in.
class PipeSession
{
public:
    explicit PipeSession(const LargeTemplate &made) : m_made(made)
    {
        for (const QByteArray &message : made.start())
            m_server.send(message);
        m_server.send(made.open());
        m_ready = m_server.running() && m_server.waitFor([](const QByteArray &body) { return publishes(body, 1); });
    }
    bool ready() const { return m_ready; }
    ServerProcess &server() { return m_server; }
    int nextId() { return ++m_id; }

    // Milliseconds from a request written to its answer read.
    std::optional<double> roundTrip(const QByteArray &request, int id, qsizetype *size = nullptr)
    {
        const Clock::time_point start = Clock::now();
        m_server.send(request);
        const auto answer = m_server.waitFor([&](const QByteArray &body) { return answers(body, id); });
        if (!answer)
            return std::nullopt;
        if (size)
            *size = answer->body.size();
        return millisecondsBetween(start, answer->at);
    }

    // The floor: a request the server answers without work, MethodNotFound.
    std::optional<Percentiles> floor()
    {
        std::vector<double> samples;
        for (int i = 0; i < kSamples; ++i) {
            const int id = nextId();
            const auto ms = roundTrip(body(request(id, QStringLiteral("zuvi/ping"), {})), id);
            if (!ms)
                return std::nullopt;
            samples.push_back(*ms);
        }
        return percentiles(samples);
    }

private:
    const LargeTemplate &m_made;
    ServerProcess m_server;
    bool m_ready = false;
    int m_id = 100;
};

void report(State &state, const char *what, const Percentiles &measured, const Percentiles &floor)
{
    state.counters[std::string(what) + "_p50_ms"] = measured.p50;
    state.counters[std::string(what) + "_p99_ms"] = measured.p99;
    state.counters["floor_p50_ms"] = floor.p50;
    state.counters["floor_p99_ms"] = floor.p99;
    state.counters["p50_x_floor"] = floor.p50 > 0 ? measured.p50 / floor.p50 : 0;
}

// Findings published after a keystroke: the time from the change written
// to the publication of its version read.
void pipeFindingsAfterEdit(State &state, const LargeTemplate &made)
{
    for (auto _ : state) {
        PipeSession session(made);
        if (!session.ready()) {
            state.SkipWithError("the server did not publish the template's findings");
            return;
        }
        const auto floor = session.floor();
        std::vector<double> samples;
        qsizetype size = 0;
        for (int version = 2; version < kSamples + 2; ++version) {
            const Clock::time_point start = Clock::now();
            session.server().send(made.change(version % 2 == 0, version));
            const auto published = session.server().waitFor([&](const QByteArray &b) { return publishes(b, version); });
            if (!published || !floor) {
                state.SkipWithError("a change was not followed by its findings");
                return;
            }
            samples.push_back(millisecondsBetween(start, published->at));
            size = published->body.size();
        }
        report(state, "findings", percentiles(samples), *floor);
        state.counters["message_KiB"] = double(size) / 1024;
    }
}

// Completion answered: from the request written to its answer read.
void pipeCompletion(State &state, QByteArray (LargeTemplate::*at)(int) const)
{
    const LargeTemplate &made = largeTemplate();
    for (auto _ : state) {
        PipeSession session(made);
        const auto floor = session.ready() ? session.floor() : std::nullopt;
        if (!floor) {
            state.SkipWithError("the server did not start");
            return;
        }
        std::vector<double> samples;
        qsizetype size = 0;
        for (int i = 0; i < kSamples; ++i) {
            const int id = session.nextId();
            const auto ms = session.roundTrip((made.*at)(id), id, &size);
            if (!ms) {
                state.SkipWithError("completion was not answered");
                return;
            }
            samples.push_back(*ms);
        }
        report(state, "completion", percentiles(samples), *floor);
        state.counters["reply_KiB"] = double(size) / 1024;
    }
}

// 1,000 changes in one write: the time to the last one's findings, and how
// many publications came before them.
void pipeBurst(State &state)
{
    constexpr int kBurst = 1000;
    const LargeTemplate &made = denseTemplate();
    for (auto _ : state) {
        PipeSession session(made);
        if (!session.ready()) {
            state.SkipWithError("the server did not start");
            return;
        }
        int publications = 0;
        const Clock::time_point start = Clock::now();
        // Each types one more character into the number: every version's
        // findings differ from the one before.
        for (int version = 2; version < kBurst + 2; ++version)
            session.server().send(made.change(true, version));
        const auto last = session.server().waitFor([&](const QByteArray &b) {
            publications += b.contains("\"method\":\"textDocument/publishDiagnostics\"") ? 1 : 0;
            return publishes(b, kBurst + 1);
        });
        if (!last) {
            state.SkipWithError("the burst's last version was not published");
            return;
        }
        state.counters["burst_ms"] = millisecondsBetween(start, last->at);
        state.counters["publications"] = publications;
    }
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
    RegisterBenchmark("Lsp/pipe/findings/clean", [](State &state) { pipeFindingsAfterEdit(state, largeTemplate()); })
        ->Iterations(1)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Lsp/pipe/findings/dense", [](State &state) { pipeFindingsAfterEdit(state, denseTemplate()); })
        ->Iterations(1)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Lsp/pipe/completion/prefix", [](State &state) { pipeCompletion(state, &LargeTemplate::completePrefix); })
        ->Iterations(1)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Lsp/pipe/completion/typed", [](State &state) { pipeCompletion(state, &LargeTemplate::completeTyped); })
        ->Iterations(1)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Lsp/pipe/completion/word", [](State &state) { pipeCompletion(state, &LargeTemplate::completeWord); })
        ->Iterations(1)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("Lsp/pipe/burst", pipeBurst)->Iterations(1)->Unit(benchmark::kMillisecond);
}
