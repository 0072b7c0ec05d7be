// The protocol's framing read from a byte stream cut anywhere: every
// message whole, Content-Length in bytes, and after a header that cannot be
// read, a fault and reading on at the next header.
#include "lsp/messagereader.h"

#include <gtest/gtest.h>

namespace {

// What the reader gives, each message as "M:<body>", each fault as "fault".
std::vector<std::string> readAll(const QByteArray &stream, qsizetype piece)
{
    MessageReader reader;
    std::vector<std::string> items;
    for (qsizetype at = 0; at < stream.size(); at += piece) {
        reader.append(QByteArrayView(stream).sliced(at, std::min(piece, stream.size() - at)));
        for (auto item = reader.next(); item.kind != MessageReader::Item::Nothing; item = reader.next())
            items.push_back(item.kind == MessageReader::Item::Message ? "M:" + item.body.toStdString() : "fault");
    }
    return items;
}

struct FramingCase {
    const char *what;
    QByteArray stream;
    std::vector<std::string> items;
};

class FramingTest : public testing::TestWithParam<FramingCase> {};

TEST_P(FramingTest, ReadsTheSameHoweverTheBytesArrive)
{
    const FramingCase &c = GetParam();
    EXPECT_EQ(readAll(c.stream, c.stream.size()), c.items) << c.what << ", in one piece";
    EXPECT_EQ(readAll(c.stream, 1), c.items) << c.what << ", byte by byte";
    for (qsizetype piece : {2, 3, 7, 64})
        EXPECT_EQ(readAll(c.stream, piece), c.items) << c.what << ", in pieces of " << piece;
}

const QByteArray kChinese = QStringLiteral("{\"a\":\"分页\"}").toUtf8();   // 14 bytes, 10 characters

// 20 KB of lines a header could have, and of headers whose line ends were
// lost, before a good frame: the header limit holds whether or not the
// header's end came in the same read.
const QByteArray kLongHeader = QByteArray("X-Junk: ") + QByteArray(20000, 'a') + "\r\n";
const QByteArray kRunTogether = QByteArray("Content-Length: x").repeated(1200);

const FramingCase kCases[] = {
    {"one message", "Content-Length: 2\r\n\r\n{}", {"M:{}"}},
    {"two back to back, another header, any case and blanks",
     "Content-Length: 2\r\nContent-Type: application/vscode-jsonrpc; charset=utf-8\r\n\r\n{}"
     "content-length :  3 \r\n\r\n[1]",
     {"M:{}", "M:[1]"}},
    {"the length counts UTF-8 bytes", "Content-Length: 14\r\n\r\n" + kChinese + "Content-Length: 2\r\n\r\n{}",
     {"M:" + kChinese.toStdString(), "M:{}"}},
    {"an empty body", "Content-Length: 0\r\n\r\nContent-Length: 2\r\n\r\n{}", {"M:", "M:{}"}},
    {"a header without Content-Length", "Content-Type: x\r\n\r\nContent-Length: 2\r\n\r\n{}", {"fault", "M:{}"}},
    {"lengths that are not lengths",
     "Content-Length: abc\r\n\r\nContent-Length: -4\r\n\r\nContent-Length: 99999999999999\r\n\r\n"
     "Content-Length: 2\r\n\r\n{}",
     {"fault", "fault", "fault", "M:{}"}},
    {"a line before the header that is no header", "garbage\r\nContent-Length: 2\r\n\r\n{}", {"fault", "M:{}"}},
    {"a length one short: the rest of the body before the next header",
     "Content-Length: 1\r\n\r\n{}Content-Length: 2\r\n\r\n[]", {"M:{", "fault", "M:[]"}},
    {"a long run without a header's end", QByteArray(20000, 'x') + "Content-Length: 2\r\n\r\n{}", {"fault", "M:{}"}},
    {"a body not yet complete gives nothing", "Content-Length: 10\r\n\r\n{\"a\":", {}},
    {"20 KB of header lines before a frame", kLongHeader + "Content-Length: 2\r\n\r\n{}", {"fault", "M:{}"}},
    {"20 KB of headers run together before a frame", kRunTogether + "Content-Length: 2\r\n\r\n{}", {"fault", "M:{}"}},
    {"20 KB of junk, a bad length, a frame: one fault for the run",
     QByteArray(20000, 'x') + "Content-Length: abc\r\n\r\nContent-Length: 2\r\n\r\n{}", {"fault", "M:{}"}},
    {"a header run into the next", "Content-Length: xContent-Length: 2\r\n\r\n{}", {"fault", "M:{}"}},
    {"a header name split by the read", "Content-Length   \r\n\r\n" + QByteArray(9000, 'x') + "content-LENGTH   :2\r\n\r\n[]",
     {"fault", "fault", "M:[]"}},
};

INSTANTIATE_TEST_SUITE_P(Streams, FramingTest, testing::ValuesIn(kCases));

TEST(Framing, FramesByUtf8Bytes)
{
    EXPECT_EQ(frameMessage(kChinese), "Content-Length: 14\r\n\r\n" + kChinese);
}

} // namespace
