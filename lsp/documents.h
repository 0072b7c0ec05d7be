#pragma once

#include "core/textposition.h"
#include "lsp/positions.h"

#include <QHash>
#include <QJsonArray>
#include <QString>

#include <memory>

// A document the client has open: its text as the client holds it, which
// may differ from the file on disk.
class TextDocument
{
public:
    TextDocument(QString uri, QString text, int version);

    const QString &uri() const { return m_uri; }
    // The local file it is, or empty for a document that is not a file
    // ("untitled:").
    const QString &path() const { return m_path; }
    const QString &text() const { return m_text; }
    int version() const { return m_version; }
    const LineIndex &lines() const { return *m_lines; }
    PositionMapper positions(PositionEncoding encoding) const { return {*m_lines, encoding}; }

    // didChange's contentChanges in order: a change with a range replaces
    // that range, one without replaces the whole text. False, and the text
    // unchanged from the faulty change on, when a change is malformed.
    bool applyChanges(const QJsonArray &changes, int version, PositionEncoding encoding);

private:
    void setText(QString text);

    QString m_uri;
    QString m_path;
    QString m_text;
    int m_version = 0;
    std::unique_ptr<LineIndex> m_lines;   // a view of m_text, rebuilt with it
};

// The open documents by URI.
class DocumentStore
{
public:
    TextDocument &open(const QString &uri, const QString &text, int version);
    void close(const QString &uri);
    TextDocument *find(const QString &uri);
    // The open document that is this local file, if any.
    const TextDocument *findPath(const QString &path) const;
    QList<const TextDocument *> all() const;

private:
    QHash<QString, std::shared_ptr<TextDocument>> m_documents;
};

// The local path of a "file:" URI, clean and absolute; empty for others.
QString pathOfUri(const QString &uri);
QString uriOfPath(const QString &path);
