#include "core/files/jsonwriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace jsonwriter {

void appendString(QByteArray &out, QStringView text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    out.append('"');
    // Runs that need no escape go in whole, converted once.
    qsizetype run = 0;
    const auto flush = [&](qsizetype end) {
        if (end > run)
            out.append(text.sliced(run, end - run).toUtf8());
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c != u'"' && c != u'\\')
            continue;
        flush(i);
        run = i + 1;
        switch (c) {
        case u'"':
            out.append("\\\"");
            break;
        case u'\\':
            out.append("\\\\");
            break;
        case u'\b':
            out.append("\\b");
            break;
        case u'\f':
            out.append("\\f");
            break;
        case u'\n':
            out.append("\\n");
            break;
        case u'\r':
            out.append("\\r");
            break;
        case u'\t':
            out.append("\\t");
            break;
        default:
            out.append("\\u00");
            out.append(kHex[c >> 4]);
            out.append(kHex[c & 0xf]);
        }
    }
    flush(text.size());
    out.append('"');
}

void appendNumber(QByteArray &out, qint64 number)
{
    out.append(QByteArray::number(number));
}

void appendValue(QByteArray &out, const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Object:
        out.append(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
        return;
    case QJsonValue::Array:
        out.append(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
        return;
    case QJsonValue::String:
        appendString(out, value.toString());
        return;
    case QJsonValue::Double: {
        const double number = value.toDouble();
        if (number == double(qint64(number)))
            appendNumber(out, qint64(number));
        else
            out.append(QByteArray::number(number, 'g', 17));
        return;
    }
    case QJsonValue::Bool:
        out.append(value.toBool() ? "true" : "false");
        return;
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        out.append("null");
        return;
    }
}

} // namespace jsonwriter
