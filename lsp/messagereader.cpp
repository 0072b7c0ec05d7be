#include "lsp/messagereader.h"

#include <QByteArrayList>


namespace {

constexpr QByteArrayView kHeaderEnd("\r\n\r\n");
constexpr QByteArrayView kLengthName("content-length");
// A header block longer than this without its empty line is not one.
constexpr qsizetype kMaximumHeader = 8192;

// Where a line "Content-Length:" starts in the header block, ignoring case,
// or -1.
qsizetype findLengthHeader(QByteArrayView block, qsizetype from)
{
    const QByteArray lower = block.toByteArray().toLower();
    for (qsizetype at = lower.indexOf(kLengthName, from); at >= 0; at = lower.indexOf(kLengthName, at + 1)) {
        qsizetype colon = at + kLengthName.size();
        while (colon < lower.size() && lower[colon] == ' ')
            ++colon;
        if (colon < lower.size() && lower[colon] == ':')
            return at;
    }
    return -1;
}

bool isTokenChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
        || QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

// Whether every line of `lines` (CR LF apart) is "Name: value".
bool headerLines(QByteArrayView lines)
{
    for (const QByteArray &line : lines.toByteArray().split('\n')) {
        const QByteArray text = line.endsWith('\r') ? line.chopped(1) : line;
        const qsizetype colon = text.indexOf(':');
        if (colon <= 0)
            return false;
        for (qsizetype i = 0; i < colon; ++i) {
            if (!isTokenChar(text[i]))
                return false;
        }
    }
    return true;
}

} // namespace

MessageReader::Item MessageReader::malformed(qsizetype skipTo, const QString &problem)
{
    m_start = skipTo;
    compact();
    return {Item::Malformed, {}, problem};
}

void MessageReader::compact()
{
    // Dropping what was read only now and then keeps appending linear.
    if (m_start > 65536 && m_start * 2 > m_buffer.size()) {
        m_buffer.remove(0, m_start);
        m_start = 0;
    }
}

MessageReader::Item MessageReader::next()
{
    QByteArrayView unread = QByteArrayView(m_buffer).sliced(m_start);
    if (m_skipping) {
        // After a run with no header's end: quietly on to the next header.
        const qsizetype resume = findLengthHeader(unread, 0);
        if (resume < 0) {
            m_start += std::max<qsizetype>(0, unread.size() - kLengthName.size());
            compact();
            return {};
        }
        m_skipping = false;
        m_start += resume;
        unread = unread.sliced(resume);
    }
    const qsizetype headerEnd = unread.indexOf(kHeaderEnd);
    if (headerEnd < 0) {
        if (unread.size() <= kMaximumHeader)
            return {};
        m_skipping = true;
        const qsizetype resume = findLengthHeader(unread, 1);
        return malformed(resume > 0 ? m_start + resume : m_buffer.size() - kLengthName.size(),
                         QStringLiteral("header without its end"));
    }
    const QByteArrayView block = unread.first(headerEnd);
    const qsizetype lengthAt = findLengthHeader(block, 0);
    if (lengthAt < 0)
        return malformed(m_start + headerEnd + kHeaderEnd.size(), QStringLiteral("header without Content-Length"));
    // Bytes before the header that are not header lines (the rest of a
    // body whose length was given wrong): skipped up to the header.
    if (lengthAt > 0) {
        const QByteArrayView before = block.first(lengthAt);
        if (!before.endsWith("\r\n") || !headerLines(before.chopped(2)))
            return malformed(m_start + lengthAt, QStringLiteral("bytes before a header"));
    }

    qsizetype length = -1;
    for (const QByteArray &line : block.toByteArray().split('\n')) {
        const QByteArray trimmed = line.endsWith('\r') ? line.chopped(1) : line;
        const qsizetype colon = trimmed.indexOf(':');
        if (colon < 0 || trimmed.left(colon).trimmed().toLower() != kLengthName)
            continue;
        const QByteArray value = trimmed.mid(colon + 1).trimmed();
        bool ok = !value.isEmpty();
        for (char c : value)
            ok = ok && c >= '0' && c <= '9';
        const qlonglong parsed = ok && value.size() <= 12 ? value.toLongLong(&ok) : -1;
        if (!ok || parsed < 0 || parsed > kMaximumBody)
            return malformed(m_start + headerEnd + kHeaderEnd.size(),
                             QStringLiteral("Content-Length '%1' is not a length").arg(QString::fromUtf8(value.left(40))));
        length = qsizetype(parsed);
    }
    if (length < 0)
        return malformed(m_start + headerEnd + kHeaderEnd.size(), QStringLiteral("header without Content-Length"));

    const qsizetype bodyStart = headerEnd + kHeaderEnd.size();
    if (unread.size() - bodyStart < length)
        return {};
    Item item{Item::Message, unread.sliced(bodyStart, length).toByteArray(), {}};
    m_start += bodyStart + length;
    compact();
    return item;
}

QByteArray frameMessage(const QByteArray &body)
{
    return "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}
