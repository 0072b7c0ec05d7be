#pragma once

#include "lsp/clientsupport.h"
#include "lsp/diagnostics.h"
#include "lsp/documentanalysis.h"
#include "lsp/documents.h"
#include "lsp/jsonrpc.h"
#include "lsp/semantictokens.h"
#include "lsp/sitesetup.h"
#include "lsp/themefeatures.h"

#include <QByteArray>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// The language server without its transport: message bodies in, message
// bodies out through `send`. Keeps the protocol's lifecycle (initialize
// first; shutdown, perhaps twice; exit), the open documents, and answers
// each request from the template checker and the catalog.
class LanguageServer
{
public:
    // A message body, to be framed and written.
    using Send = std::function<void(const QByteArray &body)>;
    explicit LanguageServer(Send send);
    ~LanguageServer();

    // A message body as the client framed it. Faults and cancellations are
    // answered at once; the rest waits for handleNext().
    void receive(const QByteArray &body);
    // A frame whose header could not be read: a parse error.
    void receiveMalformed(const QString &problem);
    // Handles the oldest waiting message; false when none waits. When the
    // last waiting one is handled, the findings of the documents changed
    // meanwhile are published: a burst of changes is read once, at its end.
    bool handleNext();
    bool hasWaiting() const { return !m_queue.isEmpty(); }

    // The client closed the input: nothing more will come.
    void inputClosed();
    // Whether the server is to end, and with what status: 0 after a
    // shutdown request, 1 without one.
    bool finished() const { return m_finished; }
    int exitStatus() const { return m_state == State::ShutDown ? 0 : 1; }

private:
    struct Reply {
        Reply(QJsonValue result = QJsonValue::Null) : result(std::move(result)) {}
        static Reply failure(int code, QString message)
        {
            Reply reply;
            reply.error = code;
            reply.message = std::move(message);
            return reply;
        }
        // A result already written as JSON.
        static Reply written(QByteArray json)
        {
            Reply reply;
            reply.json = std::move(json);
            return reply;
        }
        QJsonValue result;
        QByteArray json;
        int error = 0;
        QString message;
    };

    // What a handler is given: the parameters, and for a request on a
    // document that document, its analysis and, where the method takes a
    // position, the offset of params.position; all found before it runs.
    struct Request {
        const QJsonValue &params;
        TextDocument *document = nullptr;
        std::shared_ptr<const DocumentAnalysis> analysis;
        qsizetype offset = 0;
        PositionEncoding encoding = PositionEncoding::Utf16;

        PositionMapper positions() const { return document->positions(encoding); }
    };
    enum class On { Server, Document, Position };
    using RequestHandler = Reply (LanguageServer::*)(const Request &request);
    using NotificationHandler = void (LanguageServer::*)(const QJsonValue &params);
    // A request method, what it is on, its handler, and the server
    // capability that tells the client of it (none for the lifecycle).
    struct RequestRoute {
        QLatin1StringView method;
        On on;
        RequestHandler handler;
        QLatin1StringView capability;
        QJsonValue (*capabilityValue)(const ClientSupport &client);
        // Answered for a stale document too (its handler knows it is).
        bool whileStale = false;
    };
    static const QList<RequestRoute> &requestRoutes();
    QJsonObject capabilities() const;

    void handle(const jsonrpc::Message &message);
    Reply answer(const RequestRoute &route, const QJsonValue &params);

    // Lifecycle.
    Reply initialize(const Request &request);
    Reply shutdown(const Request &request);
    void initialized(const QJsonValue &params);
    void exit(const QJsonValue &params);

    // Documents and workspace.
    void didOpen(const QJsonValue &params);
    void didChange(const QJsonValue &params);
    void didClose(const QJsonValue &params);
    void didSave(const QJsonValue &params);
    void didChangeWorkspaceFolders(const QJsonValue &params);
    void didChangeWatchedFiles(const QJsonValue &params);

    // Requests on a document.
    Reply completion(const Request &request);
    Reply completionResolve(const Request &request);
    Reply hover(const Request &request);
    Reply documentSymbol(const Request &request);
    Reply foldingRange(const Request &request);
    Reply documentHighlight(const Request &request);
    Reply definition(const Request &request);
    Reply documentLink(const Request &request);
    Reply codeAction(const Request &request);
    Reply pullDiagnostics(const Request &request);
    Reply semanticTokensFull(const Request &request);
    Reply semanticTokensDelta(const Request &request);
    // Across the theme (lsp/themefeatures.h).
    Reply references(const Request &request);
    Reply willRenameFiles(const Request &request);
    void didRenameFiles(const QJsonValue &params);
    Reply prepareRename(const Request &request);
    Reply rename(const Request &request);
    Reply workspaceSymbol(const Request &request);
    ThemeIndex *themeOf(const QString &path);
    // W303 of the document where its configuration names the template
    // root, the theme then being read whole as `check` reads it.
    QList<Finding> themeFindings(const TextDocument &document);

    // The URI of a local file: the open document's own where it is open.
    QString uriOf(const QString &path) const;
    std::shared_ptr<const DocumentAnalysis> analysis(const TextDocument &document);
    PositionMapper positions(const TextDocument &document) const { return document.positions(m_client.encoding); }

    // Findings pushed to clients that do not pull them, once no message
    // waits: of a document changed, and of the other open documents, whose
    // includes or configuration may have come, gone or changed (a pulling
    // client is asked to pull those again).
    void schedulePublish(const QString &uri);
    void scheduleOthers(const QString &except);
    void publishScheduled();
    void publish(const TextDocument &document);
    // The findings of a document as a JSON array: none while it is stale.
    QByteArray diagnosticsOf(const TextDocument &document);
    // A change that could not be applied: the client is told, and the
    // document is stale until its whole text comes again.
    void reportFaultyChange(const TextDocument &document, const QString &problem);

    void send(const QJsonObject &message) { m_send(jsonrpc::encode(message)); }
    // A request to the client, whose answer the server does not need.
    void ask(const QString &method, const QJsonValue &params);

    Send m_send;
    jsonrpc::MessageQueue m_queue;
    enum class State { Uninitialized, Running, ShutDown } m_state = State::Uninitialized;
    bool m_finished = false;
    ClientSupport m_client;
    DocumentStore m_documents;
    EditorFiles m_files{m_documents};
    SiteSetups m_setups{m_files};
    ThemeFeatures m_themes;
    // The rename of a file the server's own rename edit asked for last: the
    // paths are changed already, so the client's willRenameFiles gets no edits.
    QList<std::pair<QString, QString>> m_renamesAsked;
    QHash<QString, std::shared_ptr<const DocumentAnalysis>> m_analyses;   // by URI, for the current version
    QHash<QString, DiagnosticEncoder> m_encoders;                         // by URI
    QHash<QString, QByteArray> m_published;                               // by URI: the diagnostics sent last
    QStringList m_unpublished;   // URIs whose findings are to be published
    bool m_othersChanged = false;   // a pulling client is to pull again
    SemanticTokens m_semanticTokens;
    QHash<QString, NotificationHandler> m_notifications;
    int m_asked = 0;   // requests sent to the client, for their ids
};
