#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QStringView>

// JSON written straight into bytes, for the answers the server sends
// often and large (findings, completion lists): building QJsonObjects and
// serialising them costs several times as much.
namespace jsonwriter {

// A string with its quotes, escaped as JSON needs, in UTF-8.
void appendString(QByteArray &out, QStringView text);
void appendNumber(QByteArray &out, qint64 number);
// Any value, as QJsonDocument writes it compactly.
void appendValue(QByteArray &out, const QJsonValue &value);

} // namespace jsonwriter
