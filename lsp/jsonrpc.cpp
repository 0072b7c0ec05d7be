#include "lsp/jsonrpc.h"

#include "core/files/jsonwriter.h"

#include <QJsonDocument>
#include <QJsonParseError>

namespace jsonrpc {

namespace {

const QString kVersion = QStringLiteral("2.0");

QJsonObject base(const QJsonValue &id)
{
    return {{QStringLiteral("jsonrpc"), kVersion}, {QStringLiteral("id"), id}};
}

} // namespace

QJsonObject response(const QJsonValue &id, const QJsonValue &result)
{
    QJsonObject message = base(id);
    message.insert(QStringLiteral("result"), result);
    return message;
}

QJsonObject errorResponse(const QJsonValue &id, int code, const QString &message)
{
    QJsonObject answer = base(id);
    answer.insert(QStringLiteral("error"),
                  QJsonObject{{QStringLiteral("code"), code}, {QStringLiteral("message"), message}});
    return answer;
}

QJsonObject notification(const QString &method, const QJsonValue &params)
{
    return {{QStringLiteral("jsonrpc"), kVersion}, {QStringLiteral("method"), method}, {QStringLiteral("params"), params}};
}

QJsonObject request(const QJsonValue &id, const QString &method, const QJsonValue &params)
{
    QJsonObject message = base(id);
    message.insert(QStringLiteral("method"), method);
    if (!params.isUndefined())
        message.insert(QStringLiteral("params"), params);
    return message;
}

QByteArray encode(const QJsonObject &message)
{
    return QJsonDocument(message).toJson(QJsonDocument::Compact);
}

QByteArray responseBody(const QJsonValue &id, const QByteArray &result)
{
    QByteArray body = "{\"jsonrpc\":\"2.0\",\"id\":";
    jsonwriter::appendValue(body, id);
    body.append(",\"result\":");
    body.append(result);
    body.append('}');
    return body;
}

QByteArray notificationBody(const QString &method, const QByteArray &params)
{
    QByteArray body = "{\"jsonrpc\":\"2.0\",\"method\":";
    jsonwriter::appendString(body, method);
    body.append(",\"params\":");
    body.append(params);
    body.append('}');
    return body;
}

std::variant<Message, QJsonObject> parseMessage(const QByteArray &body)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError)
        return errorResponse(QJsonValue::Null, ParseError, QStringLiteral("not JSON: %1 at byte %2").arg(error.errorString()).arg(error.offset));
    if (!document.isObject())
        return errorResponse(QJsonValue::Null, InvalidRequest, QStringLiteral("a message is a JSON object"));
    const QJsonObject object = document.object();
    Message message;
    message.id = object.value(QLatin1StringView("id"));
    // An id is a number or a string; null only in responses that have none.
    const bool idUsable = message.id.isUndefined() || message.id.isDouble() || message.id.isString();
    // The id an error answer carries: the message's own where it has a usable one.
    const QJsonValue answerId = idUsable && !message.id.isUndefined() ? message.id : QJsonValue(QJsonValue::Null);
    const QJsonValue method = object.value(QLatin1StringView("method"));
    if (method.isUndefined()) {
        if (object.contains(QLatin1StringView("result")) || object.contains(QLatin1StringView("error")))
            return message;   // a response to the server: nothing to do
        return errorResponse(answerId, InvalidRequest, QStringLiteral("a message without a method"));
    }
    if (!method.isString() || method.toString().isEmpty() || !idUsable)
        return errorResponse(answerId, InvalidRequest, QStringLiteral("a request needs a method name and a number or string id"));
    message.method = method.toString();
    message.params = object.value(QLatin1StringView("params"));
    return message;
}

std::optional<QJsonObject> MessageQueue::push(Message message)
{
    if (message.method == QLatin1StringView("$/cancelRequest")) {
        const QJsonValue id = message.params[QLatin1StringView("id")];
        for (qsizetype i = 0; i < m_messages.size(); ++i) {
            if (m_messages[i].isRequest() && m_messages[i].id == id) {
                m_messages.removeAt(i);
                return errorResponse(id, RequestCancelled, QStringLiteral("cancelled"));
            }
        }
        return std::nullopt;
    }
    m_messages.append(std::move(message));
    return std::nullopt;
}

std::optional<Message> MessageQueue::take()
{
    if (m_messages.isEmpty())
        return std::nullopt;
    return m_messages.takeFirst();
}

} // namespace jsonrpc
