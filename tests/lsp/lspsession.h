#pragma once

// A language server driven in the test's own thread: messages in as a
// client sends them, everything the server sends kept in order.

#include "lsp/languageserver.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <gtest/gtest.h>

class LspSession
{
public:
    LspSession()
        : m_server([this](const QByteArray &body) {
              QJsonParseError error;
              const QJsonDocument message = QJsonDocument::fromJson(body, &error);
              EXPECT_EQ(error.error, QJsonParseError::NoError) << body.toStdString();
              EXPECT_TRUE(message.isObject()) << body.toStdString();
              m_sent << message.object();
          })
    {
    }

    LanguageServer &server() { return m_server; }

    // Sends a message and lets the server handle everything waiting.
    void send(const QJsonObject &message)
    {
        m_server.receive(QJsonDocument(message).toJson(QJsonDocument::Compact));
        drain();
    }
    void sendRaw(const QByteArray &body)
    {
        m_server.receive(body);
        drain();
    }
    void drain()
    {
        while (m_server.handleNext()) {
        }
    }

    // A request and its answer (the whole response object).
    QJsonObject request(const QString &method, const QJsonValue &params = QJsonValue::Undefined)
    {
        const int id = ++m_lastId;
        QJsonObject message{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")}, {QStringLiteral("id"), id},
                            {QStringLiteral("method"), method}};
        if (!params.isUndefined())
            message.insert(QStringLiteral("params"), params);
        send(message);
        for (const QJsonObject &sent : std::as_const(m_sent)) {
            if (sent.value(QStringLiteral("id")) == QJsonValue(id))
                return sent;
        }
        return {};
    }
    void notify(const QString &method, const QJsonValue &params = QJsonObject())
    {
        send({{QStringLiteral("jsonrpc"), QStringLiteral("2.0")}, {QStringLiteral("method"), method},
              {QStringLiteral("params"), params}});
    }

    // initialize with these client capabilities, and initialized.
    QJsonObject initialize(const QJsonObject &capabilities = {}, const QJsonValue &workspaceFolders = QJsonValue::Null)
    {
        const QJsonObject answer = request(QStringLiteral("initialize"),
                                           QJsonObject{{QStringLiteral("processId"), QJsonValue::Null},
                                                       {QStringLiteral("rootUri"), QJsonValue::Null},
                                                       {QStringLiteral("capabilities"), capabilities},
                                                       {QStringLiteral("workspaceFolders"), workspaceFolders}});
        notify(QStringLiteral("initialized"));
        return answer;
    }

    void open(const QString &uri, const QString &text, int version = 1)
    {
        notify(QStringLiteral("textDocument/didOpen"),
               QJsonObject{{QStringLiteral("textDocument"),
                            QJsonObject{{QStringLiteral("uri"), uri}, {QStringLiteral("languageId"), QStringLiteral("html")},
                                        {QStringLiteral("version"), version}, {QStringLiteral("text"), text}}}});
    }

    // What the server sent, and taking it.
    const QList<QJsonObject> &sent() const { return m_sent; }
    QList<QJsonObject> takeSent() { return std::exchange(m_sent, {}); }

    // The last diagnostics published for `uri`, or nothing.
    std::optional<QJsonArray> lastDiagnostics(const QString &uri) const
    {
        for (auto it = m_sent.crbegin(); it != m_sent.crend(); ++it) {
            if (it->value(QStringLiteral("method")) == QStringLiteral("textDocument/publishDiagnostics")
                && (*it)[QStringLiteral("params")][QStringLiteral("uri")] == uri)
                return (*it)[QStringLiteral("params")][QStringLiteral("diagnostics")].toArray();
        }
        return std::nullopt;
    }

private:
    LanguageServer m_server;
    QList<QJsonObject> m_sent;
    int m_lastId = 0;
};

inline QJsonObject position(int line, int character)
{
    return {{QStringLiteral("line"), line}, {QStringLiteral("character"), character}};
}

inline QJsonObject documentPosition(const QString &uri, int line, int character)
{
    return {{QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), uri}}},
            {QStringLiteral("position"), position(line, character)}};
}

inline QJsonValue parseJson(const char *text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray("[") + text + "]", &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << text << ": " << error.errorString().toStdString();
    return document.array().first();
}

inline std::string shown(const QJsonValue &value)
{
    if (value.isObject())
        return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact).toStdString();
    if (value.isArray())
        return QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact).toStdString();
    return QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).toStdString();
}

// Whether `actual` holds everything `expected` says: objects the keys
// named (others may be there), arrays element by element and of the same
// length, values equal.
inline bool jsonIncludes(const QJsonValue &actual, const QJsonValue &expected)
{
    if (expected.isObject()) {
        if (!actual.isObject())
            return false;
        const QJsonObject want = expected.toObject();
        const QJsonObject have = actual.toObject();
        for (auto it = want.begin(); it != want.end(); ++it) {
            if (!have.contains(it.key()) || !jsonIncludes(have.value(it.key()), it.value()))
                return false;
        }
        return true;
    }
    if (expected.isArray()) {
        const QJsonArray want = expected.toArray();
        const QJsonArray have = actual.toArray();
        if (!actual.isArray() || want.size() != have.size())
            return false;
        for (qsizetype i = 0; i < want.size(); ++i) {
            if (!jsonIncludes(have[i], want[i]))
                return false;
        }
        return true;
    }
    return actual == expected;
}
