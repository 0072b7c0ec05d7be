// The language server on any template and any messages: a client set up by
// the first byte (encoding, snippets, markdown, pulled diagnostics) opens
// the text of the first field, sends the requests and changes the second
// field spells out at positions it gives, then the third field as raw bytes
// cut into pieces. Every message the server sends is JSON-RPC, framed so
// that it reads back; every request is answered once; every position it
// sends lies in the document; and after any input the server still answers.
#include "lsp/languageserver.h"
#include "lsp/messagereader.h"
#include "tests/fuzz/fuzzsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace {

const char *const kMethods[] = {
    "textDocument/completion", "textDocument/hover", "textDocument/documentSymbol", "textDocument/foldingRange",
    "textDocument/documentHighlight", "textDocument/definition", "textDocument/documentLink",
    "textDocument/codeAction", "textDocument/diagnostic",
};
const char *const kEncodings[] = {"utf-16", "utf-8", "utf-32"};
const int kKnownErrors[] = {-32700, -32600, -32601, -32602, -32603, -32002, -32800, -32801};

const QString kUri = QStringLiteral("file:///fuzz/theme/index.htm");

QJsonObject at(int line, int character)
{
    return {{QStringLiteral("line"), line}, {QStringLiteral("character"), character}};
}

bool isPosition(const QJsonValue &value)
{
    return value.isObject() && value.toObject().size() == 2 && value[QLatin1StringView("line")].isDouble()
        && value[QLatin1StringView("character")].isDouble();
}

class Client
{
public:
    explicit Client(uint8_t setup)
        : m_server([this](const QByteArray &body) { sent(body); })
    {
        const bool snippets = setup & 0x4;
        const bool markdown = setup & 0x8;
        QJsonObject textDocument{
            {QStringLiteral("completion"),
             QJsonObject{{QStringLiteral("completionItem"),
                          QJsonObject{{QStringLiteral("snippetSupport"), snippets},
                                      {QStringLiteral("documentationFormat"),
                                       QJsonArray{markdown ? QStringLiteral("markdown") : QStringLiteral("plaintext")}}}}}},
            {QStringLiteral("hover"), QJsonObject{{QStringLiteral("contentFormat"), QJsonArray{QStringLiteral("markdown")}}}},
            {QStringLiteral("documentSymbol"), QJsonObject{{QStringLiteral("hierarchicalDocumentSymbolSupport"), bool(setup & 0x10)}}},
            {QStringLiteral("codeAction"), QJsonObject{{QStringLiteral("codeActionLiteralSupport"), QJsonObject()}}},
        };
        if (setup & 0x20)
            textDocument.insert(QStringLiteral("diagnostic"), QJsonObject());
        request(QStringLiteral("initialize"),
                QJsonObject{{QStringLiteral("capabilities"),
                             QJsonObject{{QStringLiteral("general"),
                                          QJsonObject{{QStringLiteral("positionEncodings"),
                                                       QJsonArray{QString::fromLatin1(kEncodings[setup % 3])}}}},
                                         {QStringLiteral("textDocument"), textDocument}}},
                            {QStringLiteral("workspaceFolders"),
                             QJsonArray{QJsonObject{{QStringLiteral("uri"), QStringLiteral("file:///fuzz/theme")},
                                                    {QStringLiteral("name"), QStringLiteral("theme")}}}}});
        notify(QStringLiteral("initialized"), QJsonObject());
    }

    void open(const QString &text)
    {
        m_lines = int(text.count(u'\n') + text.count(u'\r') + 1);
        notify(QStringLiteral("textDocument/didOpen"),
               QJsonObject{{QStringLiteral("textDocument"),
                            QJsonObject{{QStringLiteral("uri"), kUri}, {QStringLiteral("languageId"), QStringLiteral("html")},
                                        {QStringLiteral("version"), 1}, {QStringLiteral("text"), text}}}});
    }

    // One action of four bytes: a request at a position, or an edit there.
    void act(const uint8_t *action)
    {
        const int line = action[1] % (m_lines + 1);
        const int character = action[2];
        const QJsonObject document{{QStringLiteral("uri"), kUri}};
        const size_t methods = std::size(kMethods);
        if (action[0] % (methods + 1) == methods) {
            static const QString inserted[] = {QStringLiteral("{"), QStringLiteral("}"), QStringLiteral("/"), QStringLiteral("\n"),
                                               QStringLiteral("'"), QStringLiteral("中"), QStringLiteral("{zuvi:"), QString()};
            const QString text = inserted[action[3] % std::size(inserted)];
            const int length = action[3] >> 4;
            m_lines += int(text.count(u'\n'));
            notify(QStringLiteral("textDocument/didChange"),
                   QJsonObject{{QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), kUri}, {QStringLiteral("version"), ++m_version}}},
                               {QStringLiteral("contentChanges"),
                                QJsonArray{QJsonObject{{QStringLiteral("range"),
                                                        QJsonObject{{QStringLiteral("start"), at(line, character)},
                                                                    {QStringLiteral("end"), at(line, character + length)}}},
                                                       {QStringLiteral("text"), text}}}}});
            return;
        }
        QJsonObject params{{QStringLiteral("textDocument"), document}, {QStringLiteral("position"), at(line, character)}};
        const QString method = QString::fromLatin1(kMethods[action[0] % methods]);
        if (method == QLatin1StringView("textDocument/codeAction")) {
            params.insert(QStringLiteral("range"),
                          QJsonObject{{QStringLiteral("start"), at(line, character)}, {QStringLiteral("end"), at(line, character + action[3])}});
            params.insert(QStringLiteral("context"), QJsonObject{{QStringLiteral("diagnostics"), QJsonArray()}});
        }
        request(method, params);
    }

    // Raw bytes as a client might send them, in pieces.
    void raw(const QByteArray &bytes, qsizetype piece)
    {
        // Raw messages may use any ids, the client's own too.
        m_countAnswers = false;
        for (qsizetype i = 0; i < bytes.size(); i += piece) {
            m_reader.append(QByteArrayView(bytes).sliced(i, std::min(piece, bytes.size() - i)));
            for (auto item = m_reader.next(); item.kind != MessageReader::Item::Nothing; item = m_reader.next()) {
                if (item.kind == MessageReader::Item::Message)
                    m_server.receive(item.body);
                else
                    m_server.receiveMalformed(item.problem);
            }
            drain();
        }
        m_countAnswers = true;
    }

    // Whether the server, unless told to exit, still answers.
    void stillAnswers()
    {
        if (m_server.finished())
            return;
        m_answered.clear();
        request(QStringLiteral("shutdown"), QJsonValue::Null);
        fuzzCheck(m_answered.contains(m_lastId), "the server still answers after any input");
    }

    void checkEveryRequestAnswered() const
    {
        for (int id = 1; id <= m_lastId; ++id)
            fuzzCheck(m_answered.contains(id) || m_server.finished(), "every request answered", QString::number(id));
    }

private:
    void drain()
    {
        while (m_server.handleNext()) {
        }
    }

    void request(const QString &method, const QJsonValue &params)
    {
        const int id = ++m_lastId;
        m_server.receive(QJsonDocument(QJsonObject{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")}, {QStringLiteral("id"), id},
                                                   {QStringLiteral("method"), method}, {QStringLiteral("params"), params}})
                             .toJson(QJsonDocument::Compact));
        drain();
    }
    void notify(const QString &method, const QJsonValue &params)
    {
        m_server.receive(QJsonDocument(QJsonObject{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                                                   {QStringLiteral("method"), method}, {QStringLiteral("params"), params}})
                             .toJson(QJsonDocument::Compact));
        drain();
    }

    // Positions and ranges anywhere in a message.
    void checkPlaces(const QJsonValue &value, const QString &shown)
    {
        if (value.isArray()) {
            for (const QJsonValue &item : value.toArray())
                checkPlaces(item, shown);
            return;
        }
        if (!value.isObject())
            return;
        const QJsonObject object = value.toObject();
        if (isPosition(value)) {
            const double line = object[QLatin1StringView("line")].toDouble();
            const double character = object[QLatin1StringView("character")].toDouble();
            fuzzCheck(line >= 0 && character >= 0 && line == int(line) && character == int(character),
                      "positions are whole numbers from 0", shown);
            return;
        }
        if (isPosition(object[QLatin1StringView("start")]) && isPosition(object[QLatin1StringView("end")])) {
            const auto key = [](const QJsonValue &p) {
                return std::pair(p[QLatin1StringView("line")].toDouble(), p[QLatin1StringView("character")].toDouble());
            };
            fuzzCheck(key(object[QLatin1StringView("start")]) <= key(object[QLatin1StringView("end")]),
                      "ranges end after they start", shown);
        }
        for (const QJsonValue &member : object)
            checkPlaces(member, shown);
    }

    void sent(const QByteArray &body)
    {
        const QString shown = QString::fromUtf8(body.left(2000));
        const QJsonDocument document = QJsonDocument::fromJson(body);
        fuzzCheck(document.isObject(), "a message is a JSON object", shown);
        const QJsonObject message = document.object();
        MessageReader reader;
        reader.append(frameMessage(body));
        const MessageReader::Item back = reader.next();
        fuzzCheck(back.kind == MessageReader::Item::Message && back.body == body && reader.pending() == 0,
                  "a message sent reads back whole", shown);
        fuzzCheck(message[QLatin1StringView("jsonrpc")] == QLatin1StringView("2.0"), "JSON-RPC 2.0", shown);
        const bool response = message.contains(QLatin1StringView("id"));
        if (!response) {
            fuzzCheck(message[QLatin1StringView("method")].isString() && message.contains(QLatin1StringView("params")),
                      "a notification has a method and parameters", shown);
        } else {
            const bool result = message.contains(QLatin1StringView("result"));
            const bool error = message.contains(QLatin1StringView("error"));
            fuzzCheck(result != error, "a response has a result or an error", shown);
            if (error) {
                const int code = message[QLatin1StringView("error")][QLatin1StringView("code")].toInt();
                fuzzCheck(std::find(std::begin(kKnownErrors), std::end(kKnownErrors), code) != std::end(kKnownErrors),
                          "a known error code", shown);
            }
            const QJsonValue id = message[QLatin1StringView("id")];
            if (m_countAnswers && id.isDouble()) {
                fuzzCheck(!m_answered.contains(id.toInt()), "a request answered once", shown);
                m_answered.insert(id.toInt());
            }
        }
        checkPlaces(message, shown);
    }

    LanguageServer m_server;
    MessageReader m_reader;
    QSet<int> m_answered;
    int m_lastId = 0;
    bool m_countAnswers = true;
    int m_version = 1;
    int m_lines = 1;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QList<QByteArray> fields = fuzzFields(data + 1, size - 1, 3);
    Client client(data[0]);
    client.open(QString::fromUtf8(fields[0]));
    // A few dozen actions reach every handler; more only slow each run.
    const QByteArray actions = fields[1].left(4 * 48);
    for (qsizetype i = 0; i + 4 <= actions.size(); i += 4)
        client.act(reinterpret_cast<const uint8_t *>(actions.constData() + i));
    client.checkEveryRequestAnswered();
    client.raw(fields[2], 1 + data[0] % 17);
    client.stillAnswers();
    return 0;
}
