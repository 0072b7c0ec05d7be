// Positions in the three encodings a client may choose: Chinese text before
// a position never shifts it, a character outside the Basic Multilingual
// Plane is two UTF-16 units, and positions a client should not send are
// clamped as the protocol asks.
#include "lsp/positions.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {

struct PositionCase {
    const char *what;
    QString text;
    qsizetype offset;   // UTF-16
    int line;
    int utf8, utf16, utf32;
};

class PositionTest : public testing::TestWithParam<PositionCase> {};

TEST_P(PositionTest, CountsEachEncodingAndComesBack)
{
    const PositionCase &c = GetParam();
    const LineIndex lines(c.text);
    const std::pair<PositionEncoding, int> expected[] = {
        {PositionEncoding::Utf8, c.utf8}, {PositionEncoding::Utf16, c.utf16}, {PositionEncoding::Utf32, c.utf32}};
    for (const auto &[encoding, character] : expected) {
        const PositionMapper mapper(lines, encoding);
        const QJsonObject p = mapper.position(c.offset);
        EXPECT_EQ(p[QStringLiteral("line")].toInt(), c.line) << c.what << " in " << positionEncodingName(encoding).toStdString();
        EXPECT_EQ(p[QStringLiteral("character")].toInt(), character) << c.what << " in " << positionEncodingName(encoding).toStdString();
        EXPECT_EQ(mapper.offset(p), c.offset) << c.what << " back from " << positionEncodingName(encoding).toStdString();
    }
}

const PositionCase kPositions[] = {
    {"ASCII", QStringLiteral("ab\ncd"), 4, 1, 1, 1, 1},
    {"after Chinese", QStringLiteral("分页标签{zuvi:x}"), 5, 0, 13, 5, 5},
    {"after a character outside the BMP", QStringLiteral("x\U0001D11Ey"), 3, 0, 5, 3, 2},
    {"on the second line after CR LF", QStringLiteral("中\r\n文字"), 4, 1, 3, 1, 1},
    {"lines ended by CR alone", QStringLiteral("a\rb\r\U0001F600c"), 6, 2, 4, 2, 1},
    {"at the end of a line before its CR LF", QStringLiteral("中文\r\nx"), 2, 0, 6, 2, 2},
    {"the end of the text", QStringLiteral("a\n"), 2, 1, 0, 0, 0},
};

INSTANTIATE_TEST_SUITE_P(Texts, PositionTest, testing::ValuesIn(kPositions));

QJsonObject at(int line, int character)
{
    return {{QStringLiteral("line"), line}, {QStringLiteral("character"), character}};
}

TEST(Positions, OutOfTheWayPositionsAreClamped)
{
    const QString text = QStringLiteral("中文\r\n\U0001D11Eb\nend");
    const LineIndex lines(text);
    const PositionMapper utf16(lines, PositionEncoding::Utf16);
    const PositionMapper utf8(lines, PositionEncoding::Utf8);
    EXPECT_EQ(utf16.offset(at(0, 40)), 2) << "past the line's end: before its line break";
    EXPECT_EQ(utf16.offset(at(1, 1)), 4) << "inside a surrogate pair: the character's start";
    EXPECT_EQ(utf8.offset(at(0, 2)), 0) << "inside a UTF-8 sequence: the character's start";
    EXPECT_EQ(utf8.offset(at(1, 4)), 6);
    EXPECT_EQ(utf16.offset(at(9, 0)), text.size()) << "past the last line: the end of the text";
    EXPECT_EQ(utf16.offset(QJsonObject{{QStringLiteral("line"), -1}, {QStringLiteral("character"), 0}}), std::nullopt);
    EXPECT_EQ(utf16.offset(QJsonObject{{QStringLiteral("line"), 0.5}, {QStringLiteral("character"), 0}}), std::nullopt);
    EXPECT_EQ(utf16.offset(QJsonObject{{QStringLiteral("line"), 0}}), std::nullopt);
    EXPECT_EQ(utf16.range(QJsonObject{{QStringLiteral("start"), at(1, 0)}, {QStringLiteral("end"), at(0, 0)}}),
              std::nullopt) << "a range that ends before it starts";
}

TEST(Positions, TheClientsFirstKnownEncodingIsTaken)
{
    const struct {
        QJsonArray offered;
        PositionEncoding taken;
    } cases[] = {
        {{}, PositionEncoding::Utf16},
        {{QStringLiteral("utf-32"), QStringLiteral("utf-8")}, PositionEncoding::Utf32},
        {{QStringLiteral("latin-1"), QStringLiteral("utf-8"), QStringLiteral("utf-16")}, PositionEncoding::Utf8},
        {{QStringLiteral("utf-16")}, PositionEncoding::Utf16},
    };
    for (const auto &c : cases)
        EXPECT_EQ(negotiatePositionEncoding(c.offered), c.taken) << QJsonDocument(c.offered).toJson().toStdString();
}

} // namespace
