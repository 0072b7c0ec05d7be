// The language server's semantic tokens as a client sees them over the
// program's standard input and output: the legend at initialize, the tokens
// of a template with Chinese text, CR LF and PHP, and a delta after an edit
// that, applied to the tokens before it, gives the tokens after it.
#include "tests/cli/programrun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A client that speaks to `zuvi-taggen lsp` through pipes, one request at a
// time.
class RawClient
{
public:
    RawClient()
    {
        m_process.setProcessEnvironment(displaylessEnvironment());
        m_process.start(QStringLiteral(ZUVI_TAGGEN_PATH), {u"lsp"_s});
        EXPECT_TRUE(m_process.waitForStarted());
    }
    ~RawClient()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    void notify(const QString &method, const QJsonObject &params)
    {
        write({{u"jsonrpc"_s, u"2.0"_s}, {u"method"_s, method}, {u"params"_s, params}});
    }
    // The answer's result; a failure when an error or nothing comes.
    QJsonValue request(const QString &method, const QJsonValue &params)
    {
        const int id = ++m_lastId;
        write({{u"jsonrpc"_s, u"2.0"_s}, {u"id"_s, id}, {u"method"_s, method}, {u"params"_s, params}});
        for (;;) {
            const std::optional<QJsonObject> message = next();
            if (!message) {
                ADD_FAILURE() << "no answer to " << method.toStdString();
                return {};
            }
            if (message->value(u"id"_s) == QJsonValue(id)) {
                EXPECT_FALSE(message->contains(u"error"_s)) << QJsonDocument(*message).toJson().toStdString();
                return message->value(u"result"_s);
            }
        }
    }
    int shutDown()
    {
        request(u"shutdown"_s, QJsonValue::Null);
        notify(u"exit"_s, {});
        m_process.closeWriteChannel();
        EXPECT_TRUE(m_process.waitForFinished(30000));
        return m_process.exitCode();
    }

private:
    void write(const QJsonObject &message)
    {
        const QByteArray body = QJsonDocument(message).toJson(QJsonDocument::Compact);
        m_process.write("Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
    }
    // The next framed message; nothing when the server ends or stays silent
    // far longer than any answer takes.
    std::optional<QJsonObject> next()
    {
        for (;;) {
            const qsizetype headerEnd = m_buffer.indexOf("\r\n\r\n");
            if (headerEnd >= 0) {
                const qsizetype length = m_buffer.mid(16, headerEnd - 16).toLongLong();
                if (m_buffer.size() >= headerEnd + 4 + length) {
                    const QByteArray body = m_buffer.mid(headerEnd + 4, length);
                    m_buffer.remove(0, headerEnd + 4 + length);
                    return QJsonDocument::fromJson(body).object();
                }
            }
            if (!m_process.waitForReadyRead(30000))
                return std::nullopt;
            m_buffer += m_process.readAllStandardOutput();
        }
    }

    QProcess m_process;
    QByteArray m_buffer;
    int m_lastId = 0;
};

QJsonObject initializeParams(const QString &encoding)
{
    return {{u"processId"_s, QJsonValue::Null},
            {u"rootUri"_s, QJsonValue::Null},
            {u"capabilities"_s, QJsonObject{{u"general"_s, QJsonObject{{u"positionEncodings"_s, QJsonArray{encoding}}}}}}};
}

const QString kUri = u"file:///tmp/zuvi-semantic/index.htm"_s;

QJsonObject textDocument()
{
    return {{u"uri"_s, kUri}};
}

// A token decoded from the protocol's relative numbers.
struct Token {
    int line;
    int character;
    int length;
    QString type;
    friend bool operator==(const Token &, const Token &) = default;
    friend std::ostream &operator<<(std::ostream &out, const Token &token)
    {
        return out << token.line << ':' << token.character << '+' << token.length << ' ' << token.type.toStdString();
    }
};

std::vector<Token> decode(const QJsonArray &data, const QJsonArray &legend)
{
    EXPECT_EQ(data.size() % 5, 0);
    std::vector<Token> tokens;
    int line = 0;
    int character = 0;
    for (qsizetype i = 0; i + 4 < data.size(); i += 5) {
        line += data[i].toInt();
        character = data[i].toInt() == 0 ? character + data[i + 1].toInt() : data[i + 1].toInt();
        EXPECT_EQ(data[i + 4].toInt(), 0) << "no modifiers are in the legend";
        tokens.push_back({line, character, data[i + 2].toInt(), legend[data[i + 3].toInt()].toString()});
    }
    return tokens;
}

// The previous data with a delta's edits applied, as a client does.
QJsonArray applyEdits(QJsonArray data, const QJsonArray &edits)
{
    // Edits refer to the data before any of them: apply from the last.
    QList<QJsonObject> sorted;
    for (const QJsonValue &edit : edits)
        sorted << edit.toObject();
    std::sort(sorted.begin(), sorted.end(),
              [](const QJsonObject &a, const QJsonObject &b) { return a[u"start"_s].toInt() > b[u"start"_s].toInt(); });
    for (const QJsonObject &edit : sorted) {
        const int start = edit[u"start"_s].toInt();
        for (int i = 0; i < edit[u"deleteCount"_s].toInt(); ++i)
            data.removeAt(start);
        const QJsonArray inserted = edit[u"data"_s].toArray();
        for (qsizetype i = 0; i < inserted.size(); ++i)
            data.insert(start + i, inserted[i]);
    }
    return data;
}

// Chinese before a tag counts one UTF-16 unit a character and three UTF-8
// bytes; 𠀀 (outside the BMP) two UTF-16 units and four bytes.
const QString kTemplate = u"<h1>网站：{zuvi:global name='站点'/}</h1>\r\n"
                          u"<a href=\"{$field.arcurl}\">{$field.time|MyDate='Y-m-d'}</a>\r\n"
                          u"{zuvi:php}$a = '{x}';{/zuvi:php}𠀀{/zuvi:arclist}\r\n"_s;

struct EncodingCase {
    const char *encoding;
    std::vector<Token> tokens;
};

TEST(SemanticTokens, TemplateTokensInTheNegotiatedEncodingAndTheLegendTheyReferTo)
{
    const EncodingCase cases[] = {
        {"utf-16",
         {{0, 7, 12, u"macro"_s}, {0, 20, 4, u"property"_s}, {0, 25, 4, u"string"_s}, {0, 29, 2, u"macro"_s},
          {1, 9, 15, u"variable"_s}, {1, 26, 12, u"variable"_s}, {1, 38, 15, u"function"_s}, {1, 53, 1, u"variable"_s},
          {2, 0, 10, u"macro"_s}, {2, 21, 11, u"macro"_s}, {2, 34, 15, u"macro"_s}}},
        {"utf-8",
         {{0, 13, 12, u"macro"_s}, {0, 26, 4, u"property"_s}, {0, 31, 8, u"string"_s}, {0, 39, 2, u"macro"_s},
          {1, 9, 15, u"variable"_s}, {1, 26, 12, u"variable"_s}, {1, 38, 15, u"function"_s}, {1, 53, 1, u"variable"_s},
          {2, 0, 10, u"macro"_s}, {2, 21, 11, u"macro"_s}, {2, 36, 15, u"macro"_s}}},
    };
    for (const EncodingCase &c : cases) {
        SCOPED_TRACE(c.encoding);
        RawClient client;
        const QJsonObject capabilities =
            client.request(u"initialize"_s, initializeParams(QLatin1StringView(c.encoding)))[u"capabilities"_s].toObject();
        EXPECT_EQ(capabilities[u"positionEncoding"_s].toString(), QLatin1StringView(c.encoding));
        const QJsonObject provider = capabilities[u"semanticTokensProvider"_s].toObject();
        EXPECT_TRUE(provider[u"full"_s][u"delta"_s].toBool());
        const QJsonArray legend = provider[u"legend"_s][u"tokenTypes"_s].toArray();
        client.notify(u"initialized"_s, {});
        client.notify(u"textDocument/didOpen"_s,
                      {{u"textDocument"_s, QJsonObject{{u"uri"_s, kUri}, {u"languageId"_s, u"html"_s},
                                                       {u"version"_s, 1}, {u"text"_s, kTemplate}}}});
        const QJsonObject result =
            client.request(u"textDocument/semanticTokens/full"_s, QJsonObject{{u"textDocument"_s, textDocument()}})
                .toObject();
        EXPECT_FALSE(result[u"resultId"_s].toString().isEmpty());
        EXPECT_EQ(decode(result[u"data"_s].toArray(), legend), c.tokens);
        EXPECT_EQ(client.shutDown(), 0);
    }
}

TEST(SemanticTokens, DeltaAfterAnEditGivesTheTokensOfTheNewText)
{
    RawClient client;
    client.request(u"initialize"_s, initializeParams(u"utf-16"_s));
    client.notify(u"initialized"_s, {});
    client.notify(u"textDocument/didOpen"_s,
                  {{u"textDocument"_s, QJsonObject{{u"uri"_s, kUri}, {u"languageId"_s, u"html"_s}, {u"version"_s, 1},
                                                   {u"text"_s, kTemplate}}}});
    const auto full = [&] {
        return client.request(u"textDocument/semanticTokens/full"_s, QJsonObject{{u"textDocument"_s, textDocument()}})
            .toObject();
    };
    const auto delta = [&](const QString &previous) {
        return client
            .request(u"textDocument/semanticTokens/full/delta"_s,
                     QJsonObject{{u"textDocument"_s, textDocument()}, {u"previousResultId"_s, previous}})
            .toObject();
    };
    const QJsonObject first = full();

    // Edits in the middle, at the start and at the end of the text: a new
    // attribute on the first line, a new first line, a tag after the last.
    struct Edit {
        const char *what;
        int line, character;
        QString text;
    };
    const Edit edits[] = {
        {"an attribute", 0, 19, u" row='5'"_s},
        {"a line before", 0, 0, u"{zuvi:type typeid='1'}\r\n"_s},
        {"a tag at the end", 4, 0, u"{$site.url}"_s},
        {"plain text", 1, 0, u"标题"_s},
    };
    QJsonObject last = first;
    int version = 1;
    for (const Edit &edit : edits) {
        SCOPED_TRACE(edit.what);
        const QJsonObject position{{u"line"_s, edit.line}, {u"character"_s, edit.character}};
        client.notify(u"textDocument/didChange"_s,
                      {{u"textDocument"_s, QJsonObject{{u"uri"_s, kUri}, {u"version"_s, ++version}}},
                       {u"contentChanges"_s,
                        QJsonArray{QJsonObject{{u"range"_s, QJsonObject{{u"start"_s, position}, {u"end"_s, position}}},
                                               {u"text"_s, edit.text}}}}});
        const QJsonObject answer = delta(last[u"resultId"_s].toString());
        ASSERT_TRUE(answer.contains(u"edits"_s)) << "a delta from the last result";
        EXPECT_NE(answer[u"resultId"_s], last[u"resultId"_s]);
        const QJsonArray patched = applyEdits(last[u"data"_s].toArray(), answer[u"edits"_s].toArray());
        const QJsonObject fresh = full();
        EXPECT_EQ(patched, fresh[u"data"_s].toArray());
        EXPECT_NE(patched, last[u"data"_s].toArray()) << "the edit changed the tokens";
        last = fresh;
    }

    // Unchanged text: an empty delta. A result that is not the last: all the tokens.
    EXPECT_EQ(delta(last[u"resultId"_s].toString())[u"edits"_s].toArray(), QJsonArray());
    const QJsonObject stale = delta(first[u"resultId"_s].toString());
    EXPECT_FALSE(stale.contains(u"edits"_s));
    EXPECT_EQ(stale[u"data"_s].toArray(), full()[u"data"_s].toArray());
    EXPECT_EQ(client.shutDown(), 0);
}

} // namespace
