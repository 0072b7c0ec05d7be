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
    bool applied = true;
};

class ChangeTest : public testing::TestWithParam<ChangeCase> {};

TEST_P(ChangeTest, AppliesChangesInOrder)
{
    const ChangeCase &c = GetParam();
    TextDocument document(QStringLiteral("untitled:a"), c.text, 1);
    EXPECT_EQ(document.applyChanges(parseJson(c.changes).toArray(), 2, c.encoding), c.applied) << c.what;
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
     "[{" RANGE(0, 0, 0, 0) R"(,"text":"1"},{)" RANGE(0, 0, 0, 1) "}]", QStringLiteral("1abc"), false},
    {"a range that ends before it starts stops there", QStringLiteral("abc"), PositionEncoding::Utf16,
     "[{" RANGE(0, 2, 0, 1) R"(,"text":"1"}])", QStringLiteral("abc"), false},
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

} // namespace
