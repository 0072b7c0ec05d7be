// Open documents: full and incremental changes in each position encoding,
// and the checker's findings published after every change at the places
// the client counts, Chinese and characters outside the BMP before them.
#include "lsp/documents.h"
#include "tests/lsp/lspsession.h"
#include "tests/support/qtprinters.h"

namespace {

struct ChangeCase {
    const char *what;
    QString text;
    PositionEncoding encoding;
    const char *changes;
    QString result;
    bool faulty = false;   // a change could not be applied
    bool stale = false;    // and no whole text came after it
};

class ChangeTest : public testing::TestWithParam<ChangeCase> {};

TEST_P(ChangeTest, AppliesChangesInOrder)
{
    const ChangeCase &c = GetParam();
    TextDocument document(QStringLiteral("untitled:a"), c.text, 1);
    EXPECT_EQ(!document.applyChanges(parseJson(c.changes).toArray(), 2, c.encoding).isEmpty(), c.faulty) << c.what;
    EXPECT_EQ(document.isStale(), c.stale) << c.what;
    EXPECT_EQ(document.text(), c.result) << c.what;
    EXPECT_EQ(document.version(), 2);
    // The lines follow the text.
    EXPECT_EQ(document.lines().lineCount(), LineIndex(c.result).lineCount()) << c.what;
}

#define RANGE(l1, c1, l2, c2) R"("range":{"start":{"line":)" #l1 R"(,"character":)" #c1 R"(},"end":{"line":)" #l2 R"(,"character":)" #c2 "}}"

const ChangeCase kChanges[] = {
    {"the whole text", QStringLiteral("abc"), PositionEncoding::Utf16, R"([{"text":"新的\n文本"}])", QStringLiteral("新的\n文本")},
    {"an insertion after Chinese, counted in UTF-8", QStringLiteral("中文ab"), PositionEncoding::Utf8,
     "[{" RANGE(0, 6, 0, 6) R"(,"text":"X"}])", QStringLiteral("中文Xab")},
    {"after a pair, in UTF-16", QStringLiteral("\U0001D11Eb"), PositionEncoding::Utf16, "[{" RANGE(0, 2, 0, 2) R"(,"text":"X"}])",
     QStringLiteral("\U0001D11EXb")},
    {"after a pair, in UTF-32", QStringLiteral("\U0001D11Eb"), PositionEncoding::Utf32, "[{" RANGE(0, 1, 0, 1) R"(,"text":"X"}])",
     QStringLiteral("\U0001D11EXb")},
    {"a deletion across a CR LF", QStringLiteral("ab\r\ncd"), PositionEncoding::Utf16, "[{" RANGE(0, 1, 1, 1) R"(,"text":""}])",
     QStringLiteral("ad")},
    {"each change on the text the one before left",
     QStringLiteral("line\n"), PositionEncoding::Utf16,
     "[{" RANGE(0, 0, 0, 0) R"(,"text":"1\n"},{)" RANGE(1, 4, 1, 4) R"(,"text":"!"},{"text":"whole"},{)" RANGE(0, 5, 0, 5) R"(,"text":"?"}])",
     QStringLiteral("whole?")},
    {"a change without text stops there", QStringLiteral("abc"), PositionEncoding::Utf16,
     "[{" RANGE(0, 0, 0, 0) R"(,"text":"1"},{)" RANGE(0, 0, 0, 1) "}]", QStringLiteral("1abc"), true, true},
    {"a range that ends before it starts stops there, and ranged changes after it are passed over",
     QStringLiteral("abc"), PositionEncoding::Utf16,
     "[{" RANGE(0, 2, 0, 1) R"(,"text":"1"},{)" RANGE(0, 0, 0, 0) R"(,"text":"2"}])", QStringLiteral("abc"), true, true},
    {"a range that is no range", QStringLiteral("abc"), PositionEncoding::Utf16,
     R"([{"range":{"start":{"line":-1,"character":0},"end":{"line":0,"character":0}},"text":"1"}])", QStringLiteral("abc"),
     true, true},
    {"the whole text after a faulty change brings the document back", QStringLiteral("abc"), PositionEncoding::Utf16,
     "[{" RANGE(0, 2, 0, 1) R"(,"text":"1"},{"text":"new"},{)" RANGE(0, 3, 0, 3) R"(,"text":"!"}])", QStringLiteral("new!"), true,
     false},
};

INSTANTIATE_TEST_SUITE_P(Documents, ChangeTest, testing::ValuesIn(kChanges));

// Where the client sees a finding, in the encoding it chose.
struct PlaceCase {
    const char *encoding;
    int start, end;
};

class DiagnosticPlaceTest : public testing::TestWithParam<PlaceCase> {};

TEST_P(DiagnosticPlaceTest, FindingsStandWhereTheClientCounts)
{
    const PlaceCase &c = GetParam();
    LspSession session;
    const QJsonObject answer = session.initialize(QJsonObject{
        {QStringLiteral("general"), QJsonObject{{QStringLiteral("positionEncodings"), QJsonArray{QString::fromLatin1(c.encoding)}}}}});
    EXPECT_EQ(answer[QStringLiteral("result")][QStringLiteral("capabilities")][QStringLiteral("positionEncoding")].toString(),
              QString::fromLatin1(c.encoding));
    const QString uri = QStringLiteral("untitled:place");
    // The number's value on the second line, after Chinese and a character outside the BMP.
    session.open(uri, QStringLiteral("<p>首页</p>\r\n中文\U0001D11E {zuvi:arclist row='十'}{/zuvi:arclist}"));
    const auto found = session.lastDiagnostics(uri);
    ASSERT_TRUE(found);
    const QJsonValue expected = parseJson(
        QStringLiteral(R"([{"code":"W201","severity":2,"source":"zuvi-taggen","message":"{zuvi:arclist} 的属性 row 应为数字，而不是 '十'",
                          "range":{"start":{"line":1,"character":%1},"end":{"line":1,"character":%2}}}])")
            .arg(c.start).arg(c.end).toUtf8().constData());
    EXPECT_TRUE(jsonIncludes(*found, expected)) << c.encoding << ": " << shown(*found);
}

INSTANTIATE_TEST_SUITE_P(Encodings, DiagnosticPlaceTest,
                         testing::Values(PlaceCase{"utf-8", 29, 34}, PlaceCase{"utf-16", 23, 26}, PlaceCase{"utf-32", 22, 25}));

// After every change the findings are published again; a document closed
// has its findings cleared.
TEST(Documents, FindingsFollowEveryChange)
{
    LspSession session;
    session.initialize();
    const QString uri = QStringLiteral("untitled:follow");
    session.open(uri, QStringLiteral("中文 {zuvi:arclist row='1'}\n"));
    EXPECT_TRUE(jsonIncludes(*session.lastDiagnostics(uri), parseJson(R"([{"code":"E101","range":{"start":{"line":0,"character":3}}}])")))
        << shown(*session.lastDiagnostics(uri));
    session.notify(QStringLiteral("textDocument/didChange"),
                   QJsonObject{{QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), uri}, {QStringLiteral("version"), 2}}},
                               {QStringLiteral("contentChanges"), parseJson("[{" RANGE(1, 0, 1, 0) R"(,"text":"{/zuvi:arclist}"}])")}});
    EXPECT_EQ(*session.lastDiagnostics(uri), QJsonArray()) << "the block is closed now";
    EXPECT_EQ(session.sent().last()[QStringLiteral("params")][QStringLiteral("version")].toInt(), 2);
    session.notify(QStringLiteral("textDocument/didChange"),
                   QJsonObject{{QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), uri}, {QStringLiteral("version"), 3}}},
                               {QStringLiteral("contentChanges"), parseJson("[{" RANGE(0, 0, 0, 0) R"(,"text":"{/zuvi:if}"}])")}});
    EXPECT_TRUE(jsonIncludes(*session.lastDiagnostics(uri), parseJson(R"([{"code":"E102"}])")));
    session.notify(QStringLiteral("textDocument/didClose"), QJsonObject{{QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), uri}}}});
    EXPECT_EQ(*session.lastDiagnostics(uri), QJsonArray());
}

QJsonObject change(const QString &uri, int version, const char *changes)
{
    return {{QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), uri}, {QStringLiteral("version"), version}}},
            {QStringLiteral("contentChanges"), parseJson(changes)}};
}

QList<QJsonObject> sentWith(const QList<QJsonObject> &sent, const QString &method)
{
    QList<QJsonObject> found;
    for (const QJsonObject &message : sent) {
        if (message[QStringLiteral("method")] == method)
            found << message;
    }
    return found;
}

// Changes that wait together are applied in order and the text read once:
// one publication, of the newest version.
TEST(Documents, ChangesWaitingTogetherArePublishedOnce)
{
    LspSession session;
    session.initialize();
    const QString uri = QStringLiteral("untitled:burst");
    session.open(uri, QStringLiteral("{zuvi:arclist row='1'}{/zuvi:arclist}\n"));
    session.takeSent();
    for (int version = 2; version <= 101; ++version) {
        session.server().receive(QJsonDocument(QJsonObject{
            {QStringLiteral("jsonrpc"), QStringLiteral("2.0")}, {QStringLiteral("method"), QStringLiteral("textDocument/didChange")},
            {QStringLiteral("params"), change(uri, version, "[{" RANGE(0, 20, 0, 20) R"(,"text":"x"}])")}}).toJson());
    }
    session.drain();
    const QList<QJsonObject> published = sentWith(session.sent(), QStringLiteral("textDocument/publishDiagnostics"));
    ASSERT_EQ(published.size(), 1);
    EXPECT_EQ(published[0][QStringLiteral("params")][QStringLiteral("version")].toInt(), 101);
    EXPECT_TRUE(jsonIncludes(published[0][QStringLiteral("params")][QStringLiteral("diagnostics")],
                             parseJson(R"([{"code":"W201","range":{"start":{"line":0,"character":18},"end":{"line":0,"character":121}}}])")))
        << shown(published[0]);
}

// A change that cannot be applied is logged and shown; the document is
// then stale: its findings withdrawn, requests on it refused as modified,
// until a change gives its whole text again.
TEST(Documents, AChangeThatCannotBeAppliedLeavesTheDocumentStaleUntilItsWholeText)
{
    LspSession session;
    session.initialize();
    const QString uri = QStringLiteral("file:///theme/stale.htm");
    session.open(uri, QStringLiteral("{zuvi:arclist}\n"));
    ASSERT_EQ(session.lastDiagnostics(uri)->size(), 1);
    session.takeSent();
    const auto hover = [&] {
        return session.request(QStringLiteral("textDocument/hover"), documentPosition(uri, 0, 3));
    };

    session.notify(QStringLiteral("textDocument/didChange"), change(uri, 2, "[{" RANGE(0, 5, 0, 2) R"(,"text":"x"}])"));
    const QList<QJsonObject> sent = session.takeSent();
    const QList<QJsonObject> logged = sentWith(sent, QStringLiteral("window/logMessage"));
    ASSERT_EQ(logged.size(), 1);
    EXPECT_TRUE(logged[0][QStringLiteral("params")][QStringLiteral("message")].toString().contains(uri)) << shown(logged[0]);
    const QList<QJsonObject> shownToUser = sentWith(sent, QStringLiteral("window/showMessage"));
    ASSERT_EQ(shownToUser.size(), 1);
    EXPECT_EQ(shownToUser[0][QStringLiteral("params")][QStringLiteral("type")].toInt(), 2);
    EXPECT_TRUE(shownToUser[0][QStringLiteral("params")][QStringLiteral("message")].toString().contains(QStringLiteral("stale.htm")));
    EXPECT_EQ(sentWith(sent, QStringLiteral("textDocument/publishDiagnostics")).last()[QStringLiteral("params")][QStringLiteral("diagnostics")],
              QJsonArray());
    EXPECT_EQ(hover()[QStringLiteral("error")][QStringLiteral("code")].toInt(), -32801);

    // Further ranged changes say nothing more and change nothing.
    session.notify(QStringLiteral("textDocument/didChange"), change(uri, 3, "[{" RANGE(0, 0, 0, 0) R"(,"text":"y"}])"));
    EXPECT_TRUE(sentWith(session.takeSent(), QStringLiteral("window/showMessage")).isEmpty());
    EXPECT_EQ(hover()[QStringLiteral("error")][QStringLiteral("code")].toInt(), -32801);

    session.notify(QStringLiteral("textDocument/didChange"), change(uri, 4, R"([{"text":"{zuvi:arclist}{/zuvi:arclist}{/zuvi:if}"}])"));
    EXPECT_TRUE(jsonIncludes(*session.lastDiagnostics(uri), parseJson(R"([{"code":"E102"}])"))) << shown(*session.lastDiagnostics(uri));
    EXPECT_TRUE(hover()[QStringLiteral("result")].isObject());
}

// A client that pulls findings gets none for a stale document, and those
// of its whole text once that comes.
TEST(Documents, AStaleDocumentHasNoFindingsToPull)
{
    LspSession session;
    session.initialize(QJsonObject{{QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("diagnostic"), QJsonObject()}}}});
    const QString uri = QStringLiteral("untitled:pulled");
    session.open(uri, QStringLiteral("{zuvi:arclist}\n"));
    const auto pulled = [&] {
        return session.request(QStringLiteral("textDocument/diagnostic"),
                               QJsonObject{{QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), uri}}}})
            .value(QStringLiteral("result"))[QStringLiteral("items")];
    };
    EXPECT_EQ(pulled().toArray().size(), 1);
    session.notify(QStringLiteral("textDocument/didChange"), change(uri, 2, R"([{"range":{"start":{"line":0}},"text":"x"}])"));
    EXPECT_EQ(pulled(), QJsonArray());
    session.notify(QStringLiteral("textDocument/didChange"), change(uri, 3, R"([{"text":"{/zuvi:if}"}])"));
    EXPECT_TRUE(jsonIncludes(pulled(), parseJson(R"([{"code":"E102"}])"))) << shown(pulled());
}

} // namespace

