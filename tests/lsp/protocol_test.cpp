// The protocol's lifecycle and JSON-RPC rules as tables of exchanges: each
// case sends message bodies as a client would and expects, in order, every
// message the server sends back (each holding at least what is written),
// and how the server is to end.
#include "tests/lsp/lspsession.h"

namespace {

struct Exchange {
    const char *what;
    std::vector<const char *> bodies;
    std::vector<const char *> answers;
    bool finished = false;
    int status = 1;
};

class ProtocolTest : public testing::TestWithParam<Exchange> {};

TEST_P(ProtocolTest, AnswersAsTheProtocolSays)
{
    const Exchange &c = GetParam();
    LspSession session;
    for (const char *body : c.bodies)
        session.sendRaw(body);
    const QList<QJsonObject> sent = session.sent();
    ASSERT_EQ(sent.size(), qsizetype(c.answers.size())) << c.what << ": " << shown(QJsonArray::fromVariantList([&] {
        QVariantList all;
        for (const QJsonObject &m : sent)
            all << m.toVariantMap();
        return all;
    }()));
    for (size_t i = 0; i < c.answers.size(); ++i) {
        const QJsonValue expected = parseJson(c.answers[i]);
        EXPECT_TRUE(jsonIncludes(sent[qsizetype(i)], expected))
            << c.what << ", answer " << i << ":\n  sent     " << shown(sent[qsizetype(i)]) << "\n  expected " << shown(expected);
    }
    EXPECT_EQ(session.server().finished(), c.finished) << c.what;
    if (c.finished) {
        EXPECT_EQ(session.server().exitStatus(), c.status) << c.what;
    }
}

#define INIT R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}})"
#define INITIALIZED R"({"jsonrpc":"2.0","id":1,"result":{"capabilities":{"positionEncoding":"utf-16"}}})"
#define OPEN R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":{"uri":"untitled:a","languageId":"html","version":1,"text":"x"}}})"

const Exchange kExchanges[] = {
    {"requests before initialize are refused, notifications dropped; then initialize",
     {R"({"jsonrpc":"2.0","id":7,"method":"textDocument/hover","params":{}})", OPEN, INIT,
      R"({"jsonrpc":"2.0","id":8,"method":"shutdown"})"},
     {R"({"id":7,"error":{"code":-32002}})", INITIALIZED, R"({"id":8,"result":null})"}},
    {"a body that is not JSON gets a parse error, and the server goes on",
     {R"({"jsonrpc":"2.0","id":1,"meth)", INIT}, {R"({"id":null,"error":{"code":-32700}})", INITIALIZED}},
    {"JSON that is not a request gets InvalidRequest",
     {INIT, "[1,2]", R"({"jsonrpc":"2.0","id":{"a":1},"method":"shutdown"})", R"({"jsonrpc":"2.0","id":5})",
      R"({"jsonrpc":"2.0","id":6,"method":7})", R"({"jsonrpc":"2.0","params":{}})"},
     {INITIALIZED, R"({"id":null,"error":{"code":-32600}})", R"({"id":null,"error":{"code":-32600}})",
      R"({"id":5,"error":{"code":-32600}})", R"({"id":6,"error":{"code":-32600}})", R"({"id":null,"error":{"code":-32600}})"}},
    {"unknown requests get MethodNotFound; unknown notifications and responses nothing",
     {INIT, R"({"jsonrpc":"2.0","id":"a-1","method":"textDocument/unknown","params":{}})",
      R"({"jsonrpc":"2.0","method":"$/setTrace","params":{"value":"off"}})",
      R"({"jsonrpc":"2.0","method":"custom/thing"})", R"({"jsonrpc":"2.0","id":99,"result":null})"},
     {INITIALIZED, R"({"id":"a-1","error":{"code":-32601}})"}},
    {"initialize comes once", {INIT, INIT}, {INITIALIZED, R"({"id":1,"error":{"code":-32600}})"}},
    {"shutdown twice, then other requests refused and notifications dropped; exit ends with 0",
     {INIT, R"({"jsonrpc":"2.0","id":2,"method":"shutdown"})", R"({"jsonrpc":"2.0","id":3,"method":"shutdown"})",
      R"({"jsonrpc":"2.0","id":4,"method":"textDocument/completion","params":{}})", OPEN,
      R"({"jsonrpc":"2.0","method":"exit"})"},
     {INITIALIZED, R"({"id":2,"result":null})", R"({"id":3,"result":null})", R"({"id":4,"error":{"code":-32600}})"},
     true, 0},
    {"exit without shutdown ends with 1", {INIT, R"({"jsonrpc":"2.0","method":"exit"})"}, {INITIALIZED}, true, 1},
    {"exit before initialize ends too", {R"({"jsonrpc":"2.0","method":"exit"})"}, {}, true, 1},
    {"nothing is handled after exit",
     {INIT, R"({"jsonrpc":"2.0","method":"exit"})", R"({"jsonrpc":"2.0","id":2,"method":"shutdown"})"},
     {INITIALIZED}, true, 1},
    {"a client that watches files for the server is asked, after initialized, to tell of files created, deleted "
     "and configurations changed; its answer needs nothing",
     {R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{"workspace":{"didChangeWatchedFiles":{"dynamicRegistration":true}}}}})",
      R"({"jsonrpc":"2.0","method":"initialized","params":{}})", R"({"jsonrpc":"2.0","id":"zuvi-taggen-1","result":null})"},
     {INITIALIZED, R"({"id":"zuvi-taggen-1","method":"client/registerCapability","params":{"registrations":[
         {"method":"workspace/didChangeWatchedFiles","registerOptions":{"watchers":[
             {"globPattern":"**/*","kind":5},{"globPattern":"**/.zuvi-check.json","kind":2},
             {"globPattern":"**/*.{htm,html,HTM,HTML}","kind":2}]}}]}})"}},
    {"a client that does not is asked nothing", {INIT, R"({"jsonrpc":"2.0","method":"initialized","params":{}})"}, {INITIALIZED}},
    {"requests on a document that is not open get InvalidParams",
     {INIT, R"({"jsonrpc":"2.0","id":2,"method":"textDocument/completion","params":{"textDocument":{"uri":"untitled:none"},"position":{"line":0,"character":0}}})"},
     {INITIALIZED, R"({"id":2,"error":{"code":-32602}})"}},
};

INSTANTIATE_TEST_SUITE_P(Lifecycle, ProtocolTest, testing::ValuesIn(kExchanges));

// A request cancelled while it waits is answered RequestCancelled, once; a
// cancellation of a request already answered changes nothing.
TEST(Protocol, CancellationOfWaitingRequests)
{
    LspSession session;
    session.initialize();
    session.open(QStringLiteral("untitled:a"), QStringLiteral("fenye"));
    session.takeSent();
    const auto request = [](int id) {
        return QJsonDocument(QJsonObject{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                                         {QStringLiteral("id"), id},
                                         {QStringLiteral("method"), QStringLiteral("textDocument/completion")},
                                         {QStringLiteral("params"), documentPosition(QStringLiteral("untitled:a"), 0, 5)}})
            .toJson();
    };
    const auto cancel = [](int id) {
        return QJsonDocument(QJsonObject{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                                         {QStringLiteral("method"), QStringLiteral("$/cancelRequest")},
                                         {QStringLiteral("params"), QJsonObject{{QStringLiteral("id"), id}}}})
            .toJson();
    };
    // Both arrive before the server handles either.
    session.server().receive(request(10));
    session.server().receive(request(11));
    session.server().receive(cancel(10));
    session.drain();
    session.server().receive(cancel(11));
    session.drain();
    const QList<QJsonObject> sent = session.takeSent();
    ASSERT_EQ(sent.size(), 2);
    EXPECT_TRUE(jsonIncludes(sent[0], parseJson(R"({"id":10,"error":{"code":-32800}})"))) << shown(sent[0]);
    EXPECT_EQ(sent[1][QStringLiteral("id")].toInt(), 11);
    EXPECT_TRUE(sent[1][QStringLiteral("result")][QStringLiteral("items")].isArray()) << shown(sent[1]);
}

TEST(Protocol, InputClosedEndsTheServer)
{
    for (const bool shutDown : {false, true}) {
        LspSession session;
        session.initialize();
        if (shutDown)
            session.request(QStringLiteral("shutdown"));
        session.server().inputClosed();
        EXPECT_TRUE(session.server().finished());
        EXPECT_EQ(session.server().exitStatus(), shutDown ? 0 : 1);
    }
}

} // namespace
