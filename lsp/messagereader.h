#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The framing of the Language Server Protocol on a byte stream: a header
// block of "Name: value" lines, each ended by CR LF, an empty line, then a
// body of exactly Content-Length bytes (UTF-8). Bytes come in as they are
// read, in pieces of any size, and come out the same however they were cut;
// a header that cannot be read is reported and skipped, and reading picks
// up again at the next Content-Length header.
class MessageReader
{
public:
    // Bodies longer than this are refused rather than waited for.
    static constexpr qsizetype kMaximumBody = qsizetype(256) << 20;
    // A header block runs at most this far before its empty line; a longer
    // one is a fault even where its end has come with it.
    static constexpr qsizetype kMaximumHeader = 8192;

    void append(QByteArrayView bytes) { m_buffer.append(bytes); }

    struct Item {
        enum Kind { Nothing, Message, Malformed } kind = Nothing;
        QByteArray body;     // Message: the body
        QString problem;     // Malformed: what was wrong, in a line
    };
    // The next message or fault, or Nothing until more bytes are appended.
    Item next();

    // Bytes held that do not yet form a message.
    qsizetype pending() const { return m_buffer.size() - m_start; }

private:
    Item malformed(qsizetype skipTo, const QString &problem);
    void compact();
    // Drops bytes up to the next Content-Length header; false while the
    // bytes so far hold none.
    bool skipToNextHeader();

    QByteArray m_buffer;
    qsizetype m_start = 0;   // where unread bytes begin
    // After a header too long: dropping bytes, and every header that fails
    // there, quietly up to the next message, so that a run of junk is one
    // fault however it arrives.
    bool m_skipping = false;
};

// The body framed for sending.
QByteArray frameMessage(const QByteArray &body);
