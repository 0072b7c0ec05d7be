// JSON written as bytes (the server's answers, exported snippets) reads
// back as the value it was written from: strings with quotes, backslashes, control characters, Chinese and
// characters outside the BMP; and any value as QJsonDocument would write it.
#include "core/files/jsonwriter.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

namespace {

QJsonValue parseJson(const char *text)
{
    const QJsonDocument document = QJsonDocument::fromJson(text);
    return document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());
}

TEST(JsonWriter, StringsReadBackAsTheyWere)
{
    const QString cases[] = {
        QString(),
        QStringLiteral("plain"),
        QStringLiteral("{zuvi:arclist} 的属性 row 应为数字，而不是 '十'"),
        QStringLiteral("quote \" backslash \\ slash /"),
        QStringLiteral("line\nreturn\rtab\tbell\x07 unit\x1f end"),
        QString(QChar(0)) + QStringLiteral("after a NUL"),
        QStringLiteral("\U0001D11E pair at the start, and at the end \U0001F600"),
    };
    for (const QString &text : cases) {
        QByteArray written = "[";
        jsonwriter::appendString(written, text);
        written.append(']');
        QJsonParseError error;
        const QJsonDocument read = QJsonDocument::fromJson(written, &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << written.toStdString();
        EXPECT_EQ(read.array().first().toString(), text) << written.toStdString();
    }
}

TEST(JsonWriter, ValuesAsQtWritesThem)
{
    const QJsonValue values[] = {
        QJsonValue(QJsonValue::Null), QJsonValue(true), QJsonValue(false), QJsonValue(0), QJsonValue(-32801),
        QJsonValue(2147483648.0), QJsonValue(0.5), QJsonValue(QStringLiteral("id-1")),
        QJsonValue(QStringLiteral("bell\x07 back\b feed\f line\n 二 \U0001F600")),
        QJsonValue(QStringLiteral("é ü ࠀ \uFFFF \x7f")),
        QJsonValue(QString(QChar(0xD800)) + QStringLiteral(" lone halves ") + QChar(0xDC00) + QChar(0xD83D)),
        parseJson(R"({"b":[1,"二",null],"a":{"c":true}})"), parseJson(R"([[],{}])"),
    };
    for (const QJsonValue &value : values) {
        QByteArray written;
        jsonwriter::appendValue(written, value);
        const QByteArray byQt = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
        EXPECT_EQ("[" + written + "]", byQt);
    }
}

} // namespace
