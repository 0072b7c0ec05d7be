#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QStringView>

// JSON written straight into bytes, for what is written often or large
// (the server's findings and completion lists, the exported snippets):
// building QJsonObjects and serialising them costs several times as much.
// Strings are escaped as QJsonDocument escapes them, so the bytes are the
// same as its.
namespace jsonwriter {

// A string with its quotes, escaped as JSON needs, in UTF-8.
void appendString(QByteArray &out, QStringView text);
void appendNumber(QByteArray &out, qint64 number);
// Any value, as QJsonDocument writes it compactly.
void appendValue(QByteArray &out, const QJsonValue &value);

} // namespace jsonwriter
