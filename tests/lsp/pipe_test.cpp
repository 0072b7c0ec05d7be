// The built server on its standard input and output, with everything a
// client sends already waiting there as one write: junk before a frame, and
// a burst of changes to a large template, which is read once, at its end.
#include "lsp/messagereader.h"
#include "tests/lsp/lspsession.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

namespace {

QByteArray framed(const QJsonObject &message)
{
    return frameMessage(QJsonDocument(message).toJson(QJsonDocument::Compact));
}

QJsonObject message(const QString &method, const QJsonValue &params, int id = 0)
{
    QJsonObject m{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")}, {QStringLiteral("method"), method},
                  {QStringLiteral("params"), params}};
    if (id)
        m.insert(QStringLiteral("id"), id);
    return m;
}

// Runs `zuvi-taggen lsp` with `input` on standard input, closed after it,
// and reads what it wrote.
QList<QJsonObject> serve(const QByteArray &input)
{
    QTemporaryDir scratch;
    const QString inputPath = scratch.filePath(QStringLiteral("input"));
    QFile file(inputPath);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(input) == input.size());
    file.close();
    QProcess server;
    server.setStandardInputFile(inputPath);
    server.start(QStringLiteral(ZUVI_TAGGEN_PATH), {QStringLiteral("lsp")});
    const bool finished = server.waitForFinished(60000);
    EXPECT_TRUE(finished);
    MessageReader reader;
    reader.append(server.readAllStandardOutput());
    QList<QJsonObject> sent;
    for (auto item = reader.next(); item.kind == MessageReader::Item::Message; item = reader.next())
        sent << QJsonDocument::fromJson(item.body).object();
    EXPECT_EQ(reader.pending(), 0);
    return sent;
}

const QJsonObject kInitialize = message(QStringLiteral("initialize"), QJsonObject{{QStringLiteral("capabilities"), QJsonObject()}}, 1);

TEST(Pipe, AFrameAfterLongHeaderJunkInTheSameReadIsAnswered)
{
    const QByteArray junk = QByteArray("X-Junk: ") + QByteArray(20000, 'a') + "\r\n";
    const QList<QJsonObject> sent =
        serve(framed(kInitialize) + junk + framed(message(QStringLiteral("shutdown"), QJsonValue::Null, 2)));
    ASSERT_EQ(sent.size(), 3) << shown(QJsonArray::fromVariantList([&] {
        QVariantList all;
        for (const QJsonObject &m : sent)
            all << m.toVariantMap();
        return all;
    }()));
    // The fault is answered as it is read, before the requests are handled.
    EXPECT_EQ(sent[0][QStringLiteral("error")][QStringLiteral("code")].toInt(), -32700);
    EXPECT_EQ(sent[1][QStringLiteral("id")].toInt(), 1);
    EXPECT_EQ(sent[2][QStringLiteral("id")].toInt(), 2);
    EXPECT_TRUE(sent[2].contains(QStringLiteral("result")));
}

TEST(Pipe, ABurstOfChangesIsReadOnceAndItsLastVersionPublished)
{
    constexpr int kLines = 10000;
    constexpr int kChanges = 1000;
    QStringList lines;
    for (int i = 0; i < kLines; ++i)
        lines << QStringLiteral("<p>{zuvi:arclist row='10'}{$field.title}{/zuvi:arclist}</p>");
    const QString uri = QStringLiteral("untitled:burst");
    QByteArray input = framed(kInitialize)
        + framed(message(QStringLiteral("textDocument/didOpen"),
                         QJsonObject{{QStringLiteral("textDocument"),
                                      QJsonObject{{QStringLiteral("uri"), uri}, {QStringLiteral("languageId"), QStringLiteral("html")},
                                                  {QStringLiteral("version"), 1}, {QStringLiteral("text"), lines.join(u'\n')}}}}));
    // Each change types into the number of one line: "10" becomes "1x0", a finding.
    for (int version = 2; version <= kChanges + 1; ++version) {
        const int line = version % kLines;
        const QJsonObject range{{QStringLiteral("start"), position(line, 23)}, {QStringLiteral("end"), position(line, 23)}};
        input += framed(message(
            QStringLiteral("textDocument/didChange"),
            QJsonObject{{QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), uri}, {QStringLiteral("version"), version}}},
                        {QStringLiteral("contentChanges"),
                         QJsonArray{QJsonObject{{QStringLiteral("range"), range}, {QStringLiteral("text"), QStringLiteral("x")}}}}}));
    }
    const QList<QJsonObject> sent = serve(input);
    QList<QJsonObject> published;
    for (const QJsonObject &m : sent) {
        if (m[QStringLiteral("method")] == QStringLiteral("textDocument/publishDiagnostics"))
            published << m;
    }
    ASSERT_EQ(published.size(), 1) << "the open and every change came before the first was handled";
    EXPECT_EQ(published[0][QStringLiteral("params")][QStringLiteral("version")].toInt(), kChanges + 1);
    EXPECT_EQ(published[0][QStringLiteral("params")][QStringLiteral("diagnostics")].toArray().size(), kChanges);
}

} // namespace
