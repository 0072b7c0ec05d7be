#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>

#include <optional>
#include <variant>

// JSON-RPC 2.0 as the Language Server Protocol uses it.
namespace jsonrpc {

enum ErrorCode : int {
    ParseError = -32700,
    InvalidRequest = -32600,
    MethodNotFound = -32601,
    InvalidParams = -32602,
    InternalError = -32603,
    ServerNotInitialized = -32002,
    RequestCancelled = -32800,
    ContentModified = -32801,
    RequestFailed = -32803,
};

QJsonObject response(const QJsonValue &id, const QJsonValue &result);
QJsonObject errorResponse(const QJsonValue &id, int code, const QString &message);
QJsonObject notification(const QString &method, const QJsonValue &params);
// A request of the server to the client.
QJsonObject request(const QJsonValue &id, const QString &method, const QJsonValue &params);

// A message's body as it is sent.
QByteArray encode(const QJsonObject &message);
// A response or notification around JSON already written.
QByteArray responseBody(const QJsonValue &id, const QByteArray &result);
QByteArray notificationBody(const QString &method, const QByteArray &params);

// One message from the client.
struct Message {
    QString method;     // empty for a response to a request of the server
    QJsonValue id;      // undefined for a notification
    QJsonValue params;

    bool isRequest() const { return !method.isEmpty() && !id.isUndefined(); }
    bool isNotification() const { return !method.isEmpty() && id.isUndefined(); }
};

// A body read as a message, or the error response it gets: ParseError for
// what is not JSON, InvalidRequest for JSON that is not a message.
std::variant<Message, QJsonObject> parseMessage(const QByteArray &body);

// Requests and notifications waiting to be handled, in order. A
// $/cancelRequest takes its request out while it still waits: the request
// is then answered RequestCancelled at once, and a request already answered
// is not answered again.
class MessageQueue
{
public:
    // Queues a message; returns the answer of a request it cancelled.
    std::optional<QJsonObject> push(Message message);
    std::optional<Message> take();
    bool isEmpty() const { return m_messages.isEmpty(); }

private:
    QList<Message> m_messages;
};

} // namespace jsonrpc
