#pragma once

#include "lsp/clientsupport.h"
#include "lsp/documentanalysis.h"
#include "lsp/documents.h"
#include "lsp/jsonrpc.h"
#include "lsp/sitesetup.h"
#include "lsp/themefeatures.h"

#include <QByteArray>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <functional>
#include <memory>

// The language server without its transport: message bodies in, messages
// out through `send`. Keeps the protocol's lifecycle (initialize first;
// shutdown, perhaps twice; exit), the open documents, and answers each
// request from the template checker and the catalog.
class LanguageServer
{
public:
    using Send = std::function<void(const QJsonObject &message)>;
    explicit LanguageServer(Send send);
    ~LanguageServer();

    // A message body as the client framed it. Faults and cancellations are
    // answered at once; the rest waits for handleNext().
    void receive(const QByteArray &body);
    // A frame whose header could not be read: a parse error.
    void receiveMalformed(const QString &problem);
    // Handles the oldest waiting message; false when none waits.
    bool handleNext();
    bool hasWaiting() const { return !m_queue.isEmpty(); }

    // The client closed the input: nothing more will come.
    void inputClosed();
    // Whether the server is to end, and with what status: 0 after a
    // shutdown request, 1 without one.
    bool finished() const { return m_finished; }
    int exitStatus() const { return m_shutDown ? 0 : 1; }

    const ClientSupport &client() const { return m_client; }

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
        QJsonValue result;
        int error = 0;
        QString message;
    };
    using RequestHandler = Reply (LanguageServer::*)(const QJsonValue &params);
    using NotificationHandler = void (LanguageServer::*)(const QJsonValue &params);

    void handle(const jsonrpc::Message &message);

    // Lifecycle.
    Reply initialize(const QJsonValue &params);
    Reply shutdown(const QJsonValue &params);
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
    Reply completion(const QJsonValue &params);
    Reply hover(const QJsonValue &params);
    Reply documentSymbol(const QJsonValue &params);
    Reply foldingRange(const QJsonValue &params);
    Reply documentHighlight(const QJsonValue &params);
    Reply definition(const QJsonValue &params);
    Reply documentLink(const QJsonValue &params);
    Reply codeAction(const QJsonValue &params);
    Reply pullDiagnostics(const QJsonValue &params);
    // Across the theme (lsp/themefeatures.h).
    Reply references(const QJsonValue &params);
    Reply willRenameFiles(const QJsonValue &params);
    void didRenameFiles(const QJsonValue &params);
    ThemeIndex *themeOf(const QString &path);

    // The URI of a local file: the open document's own where it is open.
    QString uriOf(const QString &path) const;

    // The open document named in params.textDocument, with its analysis;
    // `offset` from params.position where asked for.
    struct Target {
        TextDocument *document = nullptr;
        std::shared_ptr<const DocumentAnalysis> analysis;
        qsizetype offset = 0;
    };
    std::optional<Target> target(const QJsonValue &params, bool withPosition, Reply *failure);
    std::shared_ptr<const DocumentAnalysis> analysis(const TextDocument &document);
    PositionMapper positions(const TextDocument &document) const { return document.positions(m_client.encoding); }

    // Diagnostics pushed to clients that do not pull them. Those of the
    // other open documents, whose includes or configuration may have come,
    // gone or changed, pushed again, or a pulling client asked to pull them
    // again.
    void publish(const TextDocument &document);
    void publishOthers(const QString &except);
    // A request to the client, whose answer the server does not need.
    void ask(const QString &method, const QJsonValue &params);
    void forgetAnalyses();

    Send m_send;
    jsonrpc::MessageQueue m_queue;
    enum class State { Uninitialized, Running, ShutDown } m_state = State::Uninitialized;
    bool m_shutDown = false;
    bool m_finished = false;
    ClientSupport m_client;
    DocumentStore m_documents;
    SiteSetups m_setups;
    ThemeFeatures m_themes;
    QHash<QString, std::shared_ptr<const DocumentAnalysis>> m_analyses;   // by URI, for the current version
    QHash<QString, QJsonArray> m_published;                               // by URI
    QHash<QString, RequestHandler> m_requests;
    QHash<QString, NotificationHandler> m_notifications;
    int m_asked = 0;   // requests sent to the client, for their ids
};
