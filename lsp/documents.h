#pragma once

#include "core/template/textposition.h"
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
    // that range, one without replaces the whole text. A change that cannot
    // be applied (no text, no range that reads) leaves the document stale:
    // its text is then no longer the client's, and ranged changes are
    // passed over until one gives the whole text again. What was wrong with
    // the change that made it stale; empty otherwise.
    QString applyChanges(const QJsonArray &changes, int version, PositionEncoding encoding);
    bool isStale() const { return m_stale; }

private:
    void setText(QString text);

    QString m_uri;
    QString m_path;
    QString m_text;
    int m_version = 0;
    bool m_stale = false;
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
