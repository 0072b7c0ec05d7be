#include "lsp/documents.h"

#include <QDir>
#include <QJsonObject>
#include <QUrl>

using namespace Qt::StringLiterals;

QString pathOfUri(const QString &uri)
{
    const QUrl url(uri);
    if (!url.isValid() || !url.isLocalFile())
        return {};
    return QDir::cleanPath(url.toLocalFile());
}

QString uriOfPath(const QString &path)
{
    return QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded());
}

TextDocument::TextDocument(QString uri, QString text, int version)
    : m_uri(std::move(uri)), m_path(pathOfUri(m_uri)), m_version(version)
{
    setText(std::move(text));
}

void TextDocument::setText(QString text)
{
    m_text = std::move(text);
    m_lines = std::make_unique<LineIndex>(m_text);
}

QString TextDocument::applyChanges(const QJsonArray &changes, int version, PositionEncoding encoding)
{
    m_version = version;
    QString problem;
    for (qsizetype i = 0; i < changes.size(); ++i) {
        const QJsonValue change = changes[i];
        const QJsonValue text = change[QLatin1StringView("text")];
        const QJsonValue range = change[QLatin1StringView("range")];
        const bool whole = range.isUndefined() || range.isNull();
        if (text.isString() && whole) {
            setText(text.toString());
            m_stale = false;
            continue;
        }
        if (m_stale)
            continue;
        const auto replaced = text.isString() ? positions(encoding).range(range) : std::nullopt;
        if (!replaced) {
            problem = text.isString() ? u"change %1 has no range that reads"_s.arg(i + 1)
                                      : u"change %1 has no text"_s.arg(i + 1);
            m_stale = true;
            continue;
        }
        m_text.replace(replaced->first, replaced->second - replaced->first, text.toString());
        m_lines = std::make_unique<LineIndex>(m_text);
    }
    return problem;
}

TextDocument &DocumentStore::open(const QString &uri, const QString &text, int version)
{
    auto document = std::make_shared<TextDocument>(uri, text, version);
    m_documents.insert(uri, document);
    return *document;
}

void DocumentStore::close(const QString &uri)
{
    m_documents.remove(uri);
}

TextDocument *DocumentStore::find(const QString &uri)
{
    const auto it = m_documents.constFind(uri);
    return it == m_documents.cend() ? nullptr : it->get();
}

const TextDocument *DocumentStore::findPath(const QString &path) const
{
    for (const auto &document : m_documents) {
        if (!document->path().isEmpty() && document->path() == path)
            return document.get();
    }
    return nullptr;
}

QList<const TextDocument *> DocumentStore::all() const
{
    QList<const TextDocument *> documents;
    for (const auto &document : m_documents)
        documents << document.get();
    return documents;
}
