#include "core/files/jsonwriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace jsonwriter {

void appendString(QByteArray &out, QStringView text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    // Encoded in place: the worst case is six bytes a unit (\u001f), and the
    // bytes are cut to what was written at the end. A text converted run by
    // run cost an allocation per run.
    const qsizetype at = out.size();
    out.resize(at + 2 + 6 * text.size());
    char *p = out.data() + at;
    *p++ = '"';
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c < 0x80 && c != u'"' && c != u'\\') {
            *p++ = char(c);
        } else if (c < 0x20 || c == u'"' || c == u'\\') {
            *p++ = '\\';
            switch (c) {
            case u'"': *p++ = '"'; break;
            case u'\\': *p++ = '\\'; break;
            case u'\b': *p++ = 'b'; break;
            case u'\f': *p++ = 'f'; break;
            case u'\n': *p++ = 'n'; break;
            case u'\r': *p++ = 'r'; break;
            case u'\t': *p++ = 't'; break;
            default:
                *p++ = 'u';
                *p++ = '0';
                *p++ = '0';
                *p++ = kHex[c >> 4];
                *p++ = kHex[c & 0xf];
            }
        } else if (c < 0x800) {
            *p++ = char(0xc0 | (c >> 6));
            *p++ = char(0x80 | (c & 0x3f));
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            const char32_t u = QChar::surrogateToUcs4(c, text[++i].unicode());
            *p++ = char(0xf0 | (u >> 18));
            *p++ = char(0x80 | ((u >> 12) & 0x3f));
            *p++ = char(0x80 | ((u >> 6) & 0x3f));
            *p++ = char(0x80 | (u & 0x3f));
        } else if (QChar::isSurrogate(c)) {
            // A lone half of a pair has no UTF-8: escaped, as QJsonDocument
            // writes it, so that the text reads back as it was.
            *p++ = '\\';
            *p++ = 'u';
            *p++ = kHex[c >> 12];
            *p++ = kHex[(c >> 8) & 0xf];
            *p++ = kHex[(c >> 4) & 0xf];
            *p++ = kHex[c & 0xf];
        } else {
            *p++ = char(0xe0 | (c >> 12));
            *p++ = char(0x80 | ((c >> 6) & 0x3f));
            *p++ = char(0x80 | (c & 0x3f));
        }
    }
    *p++ = '"';
    out.resize(p - out.constData());
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
