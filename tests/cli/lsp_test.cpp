// `zuvi-taggen lsp` run as an editor or a user starts it, with no display:
// its help and wrong arguments, and the server on real standard input and
// output, where standard output carries nothing but framed messages and
// the exit status says how the client ended.
#include "tests/cli/programrun.h"
#include "tests/support/qtprinters.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

ProgramRun lsp(const QStringList &arguments, const QByteArray &input = {})
{
    const ProgramRun run =
        runProcess(QStringLiteral(ZUVI_TAGGEN_PATH), QStringList{u"lsp"_s} + arguments, {}, {}, 30000, input);
    EXPECT_TRUE(run.finished && !run.crashed) << "zuvi-taggen lsp " << arguments.join(u' ').toStdString();
    return run;
}

struct ArgumentCase {
    QStringList arguments;
    int status;
    const char *out;   // what standard output starts with
    const char *err;   // what standard error holds
};

TEST(LspCommand, HelpAndWrongArgumentsAsOnAnyCommandLine)
{
    const ArgumentCase cases[] = {
        {{u"--help"_s}, 0, "Usage: zuvi-taggen lsp [--stdio]\n", ""},
        {{u"-h"_s}, 0, "Usage: zuvi-taggen lsp [--stdio]\n", ""},
        {{u"--stdio"_s, u"--help"_s}, 0, "Usage: zuvi-taggen lsp [--stdio]\n", ""},
        {{u"--port=2087"_s}, 2, "", "zuvi-taggen: Unknown option 'port'. (see zuvi-taggen lsp --help)\n"},
        {{u"index.htm"_s}, 2, "", "zuvi-taggen: unexpected argument 'index.htm'. (see zuvi-taggen lsp --help)\n"},
    };
    for (const ArgumentCase &c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const ProgramRun run = lsp(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(run.out.startsWith(c.out)) << run.out.toStdString();
        if (c.status != 0) {
            EXPECT_EQ(run.out, QByteArray());
        }
        EXPECT_EQ(run.err, QByteArray(c.err));
    }
}

QByteArray framed(const char *body)
{
    return "Content-Length: " + QByteArray::number(qstrlen(body)) + "\r\n\r\n" + body;
}

// Standard output cut into its frames: each must be a Content-Length
// header, the blank line and a JSON object of exactly that many bytes.
QList<QJsonObject> frames(QByteArray out)
{
    QList<QJsonObject> messages;
    while (!out.isEmpty()) {
        const qsizetype headerEnd = out.indexOf("\r\n\r\n");
        if (!out.startsWith("Content-Length: ") || headerEnd < 0) {
            ADD_FAILURE() << "not a frame: " << out.left(80).toStdString();
            break;
        }
        const qsizetype length = out.mid(16, headerEnd - 16).toLongLong();
        const QByteArray body = out.mid(headerEnd + 4, length);
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(body, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << body.toStdString();
        EXPECT_EQ(body.size(), length);
        messages << document.object();
        out.remove(0, headerEnd + 4 + length);
    }
    return messages;
}

#define INITIALIZE R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}})"
#define SHUTDOWN R"({"jsonrpc":"2.0","id":2,"method":"shutdown"})"
#define EXIT R"({"jsonrpc":"2.0","method":"exit"})"
#define OPEN \
    R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":{"uri":"untitled:1","languageId":"html","version":1,"text":"中文{zuvi:arclist}"}}})"

struct SessionCase {
    const char *what;
    std::vector<const char *> bodies;
    int status;
    std::vector<QJsonValue> answered;   // ids of the responses, in order
};

TEST(LspCommand, EndsAsTheClientEndsAndWritesOnlyMessages)
{
    const SessionCase cases[] = {
        {"shutdown and exit", {INITIALIZE, OPEN, SHUTDOWN, EXIT}, 0, {1, 2}},
        {"exit without shutdown", {INITIALIZE, EXIT}, 1, {1}},
        {"standard input closed without exit", {INITIALIZE, OPEN}, 1, {1}},
        {"standard input closed after shutdown", {INITIALIZE, SHUTDOWN}, 0, {1, 2}},
        {"nothing at all", {}, 1, {}},
        {"exit before the requests that follow it",
         {INITIALIZE, EXIT, R"({"jsonrpc":"2.0","id":3,"method":"shutdown"})"}, 1, {1}},
    };
    for (const SessionCase &c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray input;
        for (const char *body : c.bodies)
            input += framed(body);
        const ProgramRun run = lsp({u"--stdio"_s}, input);
        EXPECT_EQ(run.status, c.status) << run.err.toStdString();
        std::vector<QJsonValue> answered;
        bool published = false;
        for (const QJsonObject &message : frames(run.out)) {
            if (message.contains(u"id"_s))
                answered.push_back(message[u"id"_s]);
            published = published || message[u"method"_s] == u"textDocument/publishDiagnostics"_s;
        }
        EXPECT_EQ(answered, c.answered);
        EXPECT_EQ(published, std::find(c.bodies.begin(), c.bodies.end(), std::string_view(OPEN)) != c.bodies.end());
    }
}

} // namespace
