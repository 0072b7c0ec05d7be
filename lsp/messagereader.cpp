#include "lsp/messagereader.h"

#include <QByteArrayList>

#include <optional>


namespace {

constexpr QByteArrayView kHeaderEnd("\r\n\r\n");
constexpr QByteArrayView kLengthName("content-length");

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

struct HeaderSearch {
    qsizetype at = -1;          // where a "Content-Length" header starts
    qsizetype undecided = -1;   // where bytes start that may yet become one
};

// The next "Content-Length" header name (any case, blanks, then ':') in
// `bytes` from `from`, without copying them: they may be a long run of junk.
HeaderSearch findLengthHeader(QByteArrayView bytes, qsizetype from)
{
    const qsizetype size = bytes.size();
    for (qsizetype at = from; at < size; ++at) {
        if (lower(bytes[at]) != 'c')
            continue;
        qsizetype matched = 0;
        while (matched < kLengthName.size() && at + matched < size && lower(bytes[at + matched]) == kLengthName[matched])
            ++matched;
        if (matched < kLengthName.size()) {
            if (at + matched == size)
                return {-1, at};
            continue;
        }
        qsizetype colon = at + matched;
        while (colon < size && bytes[colon] == ' ')
            ++colon;
        if (colon == size)
            return {-1, at};
        if (bytes[colon] == ':')
            return {at, -1};
    }
    return {};
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

bool MessageReader::skipToNextHeader()
{
    const QByteArrayView unread = QByteArrayView(m_buffer).sliced(m_start);
    const HeaderSearch found = findLengthHeader(unread, 0);
    if (found.at >= 0) {
        m_start += found.at;
        return true;
    }
    m_start += found.undecided >= 0 ? found.undecided : unread.size();
    compact();
    return false;
}

MessageReader::Item MessageReader::next()
{
    for (;;) {
        if (m_skipping && !skipToNextHeader())
            return {};
        const QByteArrayView unread = QByteArrayView(m_buffer).sliced(m_start);
        // Where a fault leaves off: reported, or quietly while skipping.
        const auto fail = [&](qsizetype skipTo, const QString &problem) -> std::optional<Item> {
            if (!m_skipping)
                return malformed(skipTo, problem);
            m_start = skipTo;
            return std::nullopt;
        };

        // The end is looked for within the limit alone, so that the same
        // bytes give the same answer in one read or in many.
        const qsizetype window = std::min(unread.size(), kMaximumHeader + kHeaderEnd.size());
        const qsizetype headerEnd = unread.first(window).indexOf(kHeaderEnd);
        if (headerEnd < 0) {
            if (unread.size() < kMaximumHeader + kHeaderEnd.size())
                return {};
            // Junk, or a header lost in it: on to the next Content-Length
            // after this start, quietly until a message is read.
            const auto item = fail(m_start + 1, QStringLiteral("header longer than %1 bytes").arg(kMaximumHeader));
            m_skipping = true;
            if (item)
                return *item;
            continue;
        }
        const QByteArrayView block = unread.first(headerEnd);
        const qsizetype afterHeader = m_start + headerEnd + kHeaderEnd.size();
        const qsizetype lengthAt = findLengthHeader(block, 0).at;
        if (lengthAt < 0) {
            if (auto item = fail(afterHeader, QStringLiteral("header without Content-Length")))
                return *item;
            continue;
        }
        // Bytes before the header that are not header lines (the rest of a
        // body whose length was given wrong): skipped up to the header.
        if (lengthAt > 0) {
            const QByteArrayView before = block.first(lengthAt);
            if (!before.endsWith("\r\n") || !headerLines(before.chopped(2))) {
                if (auto item = fail(m_start + lengthAt, QStringLiteral("bytes before a header")))
                    return *item;
                continue;
            }
        }

        qsizetype length = -1;
        std::optional<Item> fault;
        bool failed = false;
        for (qsizetype lineStart = 0; lineStart <= block.size() && !failed;) {
            qsizetype lineEnd = block.indexOf('\n', lineStart);
            if (lineEnd < 0)
                lineEnd = block.size();
            const QByteArray line = block.sliced(lineStart, lineEnd - lineStart).toByteArray();
            const qsizetype colon = line.indexOf(':');
            if (colon >= 0 && line.left(colon).trimmed().toLower() == kLengthName) {
                const QByteArray value = line.mid(colon + 1).trimmed();
                bool ok = !value.isEmpty();
                for (char c : value)
                    ok = ok && c >= '0' && c <= '9';
                const qlonglong parsed = ok && value.size() <= 12 ? value.toLongLong(&ok) : -1;
                if (!ok || parsed < 0 || parsed > kMaximumBody) {
                    // A header that runs into another (a line end lost):
                    // on from that one, else after this block.
                    const qsizetype another = findLengthHeader(block, lineStart + 1).at;
                    fault = fail(another >= 0 ? m_start + another : afterHeader,
                                 QStringLiteral("Content-Length '%1' is not a length").arg(QString::fromUtf8(value.left(40))));
                    failed = true;
                    break;
                }
                length = qsizetype(parsed);
            }
            lineStart = lineEnd + 1;
        }
        if (fault)
            return *fault;
        if (failed)
            continue;   // skipped quietly
        if (length < 0) {
            if (auto item = fail(afterHeader, QStringLiteral("header without Content-Length")))
                return *item;
            continue;
        }

        const qsizetype bodyStart = headerEnd + kHeaderEnd.size();
        if (unread.size() - bodyStart < length)
            return {};
        Item item{Item::Message, unread.sliced(bodyStart, length).toByteArray(), {}};
        m_start += bodyStart + length;
        m_skipping = false;
        compact();
        return item;
    }
}

QByteArray frameMessage(const QByteArray &body)
{
    return "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}
