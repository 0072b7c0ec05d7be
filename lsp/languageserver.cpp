#include "lsp/languageserver.h"

#include "core/check/checkconfig.h"
#include "core/product.h"
#include "lsp/completion.h"
#include "lsp/hover.h"
#include "core/files/jsonwriter.h"
#include "lsp/links.h"
#include "lsp/protocol.h"
#include "lsp/pathcompletion.h"
#include "lsp/pathrename.h"
#include "lsp/quickfixes.h"
#include "lsp/structure.h"
#include "lsp/themefeatures.h"
#include "lsp/workspacesymbols.h"

#include "core/theme/themeusage.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

using namespace Qt::StringLiterals;

namespace {

QString documentUri(const QJsonValue &params)
{
    return params[QLatin1StringView("textDocument")][QLatin1StringView("uri")].toString();
}

QStringList folderPaths(const QJsonArray &folders)
{
    QStringList paths;
    for (const QJsonValue &folder : folders) {
        const QString path = pathOfUri(folder[QLatin1StringView("uri")].toString());
        if (!path.isEmpty())
            paths << path;
    }
    return paths;
}

QJsonValue provided(const ClientSupport &)
{
    return true;
}

} // namespace

const QList<LanguageServer::RequestRoute> &LanguageServer::requestRoutes()
{
    using L = QLatin1StringView;
    static const QList<RequestRoute> routes{
        {L("initialize"), On::Server, &LanguageServer::initialize, {}, nullptr},
        {L("shutdown"), On::Server, &LanguageServer::shutdown, {}, nullptr},
        {L("textDocument/completion"), On::Position, &LanguageServer::completion, L("completionProvider"),
         [](const ClientSupport &) -> QJsonValue {
             return QJsonObject{{u"triggerCharacters"_s, QJsonArray{u"{"_s, u":"_s, u"/"_s, u" "_s, u"'"_s, u"\""_s}},
                                {u"resolveProvider"_s, true}};
         }},
        {L("completionItem/resolve"), On::Server, &LanguageServer::completionResolve, {}, nullptr},
        {L("textDocument/hover"), On::Position, &LanguageServer::hover, L("hoverProvider"), provided},
        {L("textDocument/documentSymbol"), On::Document, &LanguageServer::documentSymbol, L("documentSymbolProvider"),
         provided},
        {L("textDocument/foldingRange"), On::Document, &LanguageServer::foldingRange, L("foldingRangeProvider"), provided},
        {L("textDocument/documentHighlight"), On::Position, &LanguageServer::documentHighlight,
         L("documentHighlightProvider"), provided},
        {L("textDocument/definition"), On::Position, &LanguageServer::definition, L("definitionProvider"), provided},
        {L("textDocument/documentLink"), On::Document, &LanguageServer::documentLink, L("documentLinkProvider"),
         [](const ClientSupport &) -> QJsonValue { return QJsonObject{{u"resolveProvider"_s, false}}; }},
        {L("textDocument/codeAction"), On::Document, &LanguageServer::codeAction, L("codeActionProvider"),
         [](const ClientSupport &) -> QJsonValue {
             return QJsonObject{{u"codeActionKinds"_s, QJsonArray{u"quickfix"_s}}};
         }},
        // Offered only to a client that pulls; the others are sent findings.
        {L("textDocument/diagnostic"), On::Document, &LanguageServer::pullDiagnostics, L("diagnosticProvider"),
         [](const ClientSupport &client) -> QJsonValue {
             if (!client.pullDiagnostics)
                 return QJsonValue::Undefined;
             return QJsonObject{{u"interFileDependencies"_s, true}, {u"workspaceDiagnostics"_s, false}};
         },
         // No findings while stale, as for a client they are pushed to.
         true},
        {L("textDocument/references"), On::Position, &LanguageServer::references, L("referencesProvider"), provided},
        // Offered in the workspace's fileOperations (capabilities()).
        {L("workspace/willRenameFiles"), On::Server, &LanguageServer::willRenameFiles, {}, nullptr},
        {L("textDocument/prepareRename"), On::Position, &LanguageServer::prepareRename, L("renameProvider"),
         [](const ClientSupport &) -> QJsonValue { return QJsonObject{{u"prepareProvider"_s, true}}; }},
        // Offered by the rename provider above.
        {L("textDocument/rename"), On::Position, &LanguageServer::rename, {}, nullptr},
        {L("workspace/symbol"), On::Server, &LanguageServer::workspaceSymbol, L("workspaceSymbolProvider"), provided},
        {L("textDocument/semanticTokens/full"), On::Document, &LanguageServer::semanticTokensFull,
         L("semanticTokensProvider"), [](const ClientSupport &) -> QJsonValue { return SemanticTokens::provider(); }},
        // Offered by the provider of full documents above.
        {L("textDocument/semanticTokens/full/delta"), On::Document, &LanguageServer::semanticTokensDelta, {}, nullptr},
    };
    return routes;
}

QJsonObject LanguageServer::capabilities() const
{
    QJsonObject capabilities{
        {u"positionEncoding"_s, positionEncodingName(m_client.encoding)},
        {u"textDocumentSync"_s,
         QJsonObject{{u"openClose"_s, true},
                     {u"change"_s, protocol::number(protocol::TextDocumentSyncKind::Incremental)},
                     {u"save"_s, QJsonObject{{u"includeText"_s, false}}}}},
        {u"workspace"_s,
         QJsonObject{{u"workspaceFolders"_s, QJsonObject{{u"supported"_s, true}, {u"changeNotifications"_s, true}}},
                     {u"fileOperations"_s, ThemeFeatures::fileOperations()}}},
    };
    for (const RequestRoute &route : requestRoutes()) {
        if (!route.capabilityValue)
            continue;
        const QJsonValue value = route.capabilityValue(m_client);
        if (!value.isUndefined())
            capabilities.insert(route.capability, value);
    }
    return capabilities;
}

LanguageServer::LanguageServer(Send send)
    : m_send(std::move(send)),
      m_themes([this](const QString &path) { return m_files.openText(path); },
               [this](const QString &path) { return uriOf(path); })
{
    m_notifications = {
        {u"initialized"_s, &LanguageServer::initialized},
        {u"exit"_s, &LanguageServer::exit},
        {u"textDocument/didOpen"_s, &LanguageServer::didOpen},
        {u"textDocument/didChange"_s, &LanguageServer::didChange},
        {u"textDocument/didClose"_s, &LanguageServer::didClose},
        {u"textDocument/didSave"_s, &LanguageServer::didSave},
        {u"workspace/didChangeWorkspaceFolders"_s, &LanguageServer::didChangeWorkspaceFolders},
        {u"workspace/didChangeWatchedFiles"_s, &LanguageServer::didChangeWatchedFiles},
        {u"workspace/didRenameFiles"_s, &LanguageServer::didRenameFiles},
    };
}

LanguageServer::~LanguageServer() = default;

void LanguageServer::receive(const QByteArray &body)
{
    auto parsed = jsonrpc::parseMessage(body);
    if (const QJsonObject *error = std::get_if<QJsonObject>(&parsed)) {
        send(*error);
        return;
    }
    if (const auto cancelled = m_queue.push(std::get<jsonrpc::Message>(std::move(parsed))))
        send(*cancelled);
}

void LanguageServer::receiveMalformed(const QString &problem)
{
    send(jsonrpc::errorResponse(QJsonValue::Null, jsonrpc::ParseError, u"unreadable header: %1"_s.arg(problem)));
}

bool LanguageServer::handleNext()
{
    std::optional<jsonrpc::Message> message = m_queue.take();
    if (!message)
        return false;
    // What changed is published before the session ends.
    const bool ending = message->method == u"shutdown"_s || message->method == u"exit"_s;
    if (ending && m_state == State::Running && !m_finished)
        publishScheduled();
    if (!m_finished)
        handle(*message);
    if (m_queue.isEmpty() && !m_finished)
        publishScheduled();
    return true;
}

void LanguageServer::inputClosed()
{
    m_finished = true;
}

void LanguageServer::handle(const jsonrpc::Message &message)
{
    if (message.isNotification()) {
        // Before initialize and after shutdown only exit counts.
        if (message.method != u"exit"_s && m_state != State::Running)
            return;
        if (const auto handler = m_notifications.value(message.method))
            (this->*handler)(message.params);
        return;
    }
    if (!message.isRequest())
        return;   // the client's answer to a request of the server, which needs none
    const QList<RequestRoute> &routes = requestRoutes();
    const auto route = std::find_if(routes.cbegin(), routes.cend(),
                                    [&](const RequestRoute &r) { return r.method == message.method; });
    Reply reply;
    if (m_state == State::Uninitialized && message.method != u"initialize"_s) {
        reply = Reply::failure(jsonrpc::ServerNotInitialized, u"the server is not initialized"_s);
    } else if (m_state == State::ShutDown && message.method != u"shutdown"_s) {
        reply = Reply::failure(jsonrpc::InvalidRequest, u"the server is shut down"_s);
    } else if (route != routes.cend()) {
        reply = answer(*route, message.params);
    } else {
        reply = Reply::failure(jsonrpc::MethodNotFound, u"unknown method %1"_s.arg(message.method));
    }
    if (reply.error)
        send(jsonrpc::errorResponse(message.id, reply.error, reply.message));
    else if (!reply.json.isNull())
        m_send(jsonrpc::responseBody(message.id, reply.json));
    else
        send(jsonrpc::response(message.id, reply.result));
}

LanguageServer::Reply LanguageServer::answer(const RequestRoute &route, const QJsonValue &params)
{
    Request request{params, nullptr, nullptr, 0, m_client.encoding};
    if (route.on == On::Server)
        return (this->*route.handler)(request);
    request.document = m_documents.find(documentUri(params));
    if (!request.document)
        return Reply::failure(jsonrpc::InvalidParams, u"no open document %1"_s.arg(documentUri(params)));
    // Its text is no longer the editor's: nothing is said from it.
    if (request.document->isStale() && route.whileStale)
        return (this->*route.handler)(request);
    if (request.document->isStale())
        return Reply::failure(jsonrpc::ContentModified,
                              u"%1 is out of step with the editor until its whole text comes again"_s.arg(
                                  request.document->uri()));
    if (route.on == On::Position) {
        const auto offset = request.positions().offset(params[QLatin1StringView("position")]);
        if (!offset)
            return Reply::failure(jsonrpc::InvalidParams, u"no position"_s);
        request.offset = *offset;
    }
    request.analysis = analysis(*request.document);
    return (this->*route.handler)(request);
}

// --- lifecycle ---

LanguageServer::Reply LanguageServer::initialize(const Request &request)
{
    const QJsonValue &params = request.params;
    if (m_state != State::Uninitialized)
        return Reply::failure(jsonrpc::InvalidRequest, u"initialize comes once"_s);
    if (!params.isObject())
        return Reply::failure(jsonrpc::InvalidParams, u"initialize needs its parameters"_s);
    m_client = ClientSupport::fromCapabilities(params[QLatin1StringView("capabilities")].toObject());
    QStringList folders = folderPaths(params[QLatin1StringView("workspaceFolders")].toArray());
    if (folders.isEmpty()) {
        const QString root = pathOfUri(params[QLatin1StringView("rootUri")].toString());
        if (!root.isEmpty())
            folders << root;
    }
    m_setups.setWorkspaceFolders(folders);
    m_state = State::Running;
    return {QJsonObject{
        {u"capabilities"_s, capabilities()},
        {u"serverInfo"_s, QJsonObject{{u"name"_s, programName()}, {u"version"_s, productVersion()}}},
    }};
}

LanguageServer::Reply LanguageServer::shutdown(const Request &)
{
    m_state = State::ShutDown;
    return {QJsonValue::Null};
}

void LanguageServer::initialized(const QJsonValue &)
{
    // Files created or deleted may be named by an include, and a changed
    // configuration changes the findings: the client tells of them where it
    // watches files for the server.
    if (!m_client.watchedFilesRegistration)
        return;
    using namespace protocol;
    const QJsonArray watchers{
        QJsonObject{{u"globPattern"_s, u"**/*"_s}, {u"kind"_s, WatchCreate | WatchDelete}},
        QJsonObject{{u"globPattern"_s, u"**/"_s + QLatin1StringView(CheckConfig::kFileName)}, {u"kind"_s, WatchChange}},
        // Templates changed by another program: the theme's index reads them again.
        QJsonObject{{u"globPattern"_s, u"**/*.{htm,html,HTM,HTML}"_s}, {u"kind"_s, WatchChange}},
    };
    ask(u"client/registerCapability"_s,
        QJsonObject{{u"registrations"_s,
                     QJsonArray{QJsonObject{{u"id"_s, u"zuvi-taggen-files"_s},
                                            {u"method"_s, u"workspace/didChangeWatchedFiles"_s},
                                            {u"registerOptions"_s, QJsonObject{{u"watchers"_s, watchers}}}}}}});
}

void LanguageServer::ask(const QString &method, const QJsonValue &params)
{
    send(jsonrpc::request(u"zuvi-taggen-%1"_s.arg(++m_asked), method, params));
}

void LanguageServer::exit(const QJsonValue &)
{
    m_finished = true;
}

// --- documents ---

void LanguageServer::didOpen(const QJsonValue &params)
{
    const QJsonValue item = params[QLatin1StringView("textDocument")];
    const QString uri = item[QLatin1StringView("uri")].toString();
    if (uri.isEmpty() || !item[QLatin1StringView("text")].isString())
        return;
    const TextDocument &document =
        m_documents.open(uri, item[QLatin1StringView("text")].toString(), item[QLatin1StringView("version")].toInt());
    m_analyses.remove(uri);
    m_themes.textChanged(document.path(), document.text());
    schedulePublish(uri);
    scheduleOthers(uri);
}

void LanguageServer::didChange(const QJsonValue &params)
{
    const QString uri = documentUri(params);
    TextDocument *document = m_documents.find(uri);
    if (!document)
        return;
    const int version = params[QLatin1StringView("textDocument")][QLatin1StringView("version")].toInt();
    const QString problem =
        document->applyChanges(params[QLatin1StringView("contentChanges")].toArray(), version, m_client.encoding);
    if (!problem.isEmpty())
        reportFaultyChange(*document, problem);
    m_analyses.remove(uri);
    // What the others make of the theme (W303) follows the paths it names;
    // their own analyses stand, for their texts did not change.
    if (m_themes.textChanged(document->path(), document->text())) {
        for (const TextDocument *other : m_documents.all()) {
            if (other->uri() != uri)
                schedulePublish(other->uri());
        }
        m_othersChanged = true;
    }
    schedulePublish(uri);
    // An open configuration governs as it stands, saved or not.
    if (QFileInfo(document->path()).fileName() == QLatin1StringView(CheckConfig::kFileName))
        scheduleOthers(uri);
}

void LanguageServer::reportFaultyChange(const TextDocument &document, const QString &problem)
{
    using namespace protocol;
    const QString note = u"didChange of %1, version %2: %3; %4"_s.arg(
        document.uri(), QString::number(document.version()), problem,
        document.isStale() ? u"the document is out of step until the editor sends its whole text"_s
                           : u"the whole text that came after it brought the document back"_s);
    send(jsonrpc::notification(u"window/logMessage"_s,
                               QJsonObject{{u"type"_s, number(MessageType::Error)}, {u"message"_s, note}}));
    if (!document.isStale())
        return;
    // The protocol has no request for the whole text again: the user is
    // asked to reopen the file, whose didOpen brings it.
    const QString name = document.path().isEmpty() ? document.uri() : QFileInfo(document.path()).fileName();
    send(jsonrpc::notification(
        u"window/showMessage"_s,
        QJsonObject{{u"type"_s, number(MessageType::Warning)},
                    {u"message"_s, u"zuvi-taggen 与编辑器中的 %1 不再一致，已停止检查它。请关闭并重新打开该文件。"_s.arg(name)}}));
}

void LanguageServer::didClose(const QJsonValue &params)
{
    const QString uri = documentUri(params);
    if (!m_documents.find(uri))
        return;
    const QString path = m_documents.find(uri)->path();
    m_documents.close(uri);
    m_themes.fileOnDisk(path);   // what was not saved is gone with the document
    m_analyses.remove(uri);
    m_encoders.remove(uri);
    m_semanticTokens.forget(uri);
    m_unpublished.removeAll(uri);
    if (m_published.remove(uri)) {
        send(jsonrpc::notification(u"textDocument/publishDiagnostics"_s,
                                   QJsonObject{{u"uri"_s, uri}, {u"diagnostics"_s, QJsonArray()}}));
    }
    scheduleOthers(uri);
}

void LanguageServer::didSave(const QJsonValue &params)
{
    // A file saved for the first time now exists for the others' includes.
    scheduleOthers(documentUri(params));
}

void LanguageServer::didChangeWorkspaceFolders(const QJsonValue &params)
{
    const QJsonValue event = params[QLatin1StringView("event")];
    QStringList folders = m_setups.workspaceFolders();
    for (const QString &removed : folderPaths(event[QLatin1StringView("removed")].toArray()))
        folders.removeAll(removed);
    for (const QString &added : folderPaths(event[QLatin1StringView("added")].toArray())) {
        if (!folders.contains(added))
            folders << added;
    }
    m_setups.setWorkspaceFolders(folders);
    scheduleOthers(QString());
}

void LanguageServer::didChangeWatchedFiles(const QJsonValue &params)
{
    for (const QJsonValue &change : params[QLatin1StringView("changes")].toArray()) {
        const QString path = pathOfUri(change[QLatin1StringView("uri")].toString());
        if (change[QLatin1StringView("type")].toInt() == protocol::number(protocol::FileChangeType::Deleted))
            m_themes.deleted(path);
        else if (!m_documents.findPath(path))
            m_themes.fileOnDisk(path);
    }
    scheduleOthers(QString());
}

std::shared_ptr<const DocumentAnalysis> LanguageServer::analysis(const TextDocument &document)
{
    std::shared_ptr<const DocumentAnalysis> &cached = m_analyses[document.uri()];
    if (!cached)
        cached = std::make_shared<const DocumentAnalysis>(document.text(), m_setups.forDocument(document.path()));
    return cached;
}

void LanguageServer::schedulePublish(const QString &uri)
{
    if (!m_client.pullDiagnostics && !m_unpublished.contains(uri))
        m_unpublished << uri;
}

void LanguageServer::scheduleOthers(const QString &except)
{
    for (const TextDocument *document : m_documents.all()) {
        if (document->uri() == except)
            continue;
        m_analyses.remove(document->uri());
        schedulePublish(document->uri());
        m_othersChanged = true;
    }
}

void LanguageServer::publishScheduled()
{
    for (const QString &uri : std::exchange(m_unpublished, {})) {
        if (const TextDocument *document = m_documents.find(uri))
            publish(*document);
    }
    if (std::exchange(m_othersChanged, false) && m_client.pullDiagnostics && m_client.diagnosticRefresh)
        ask(u"workspace/diagnostic/refresh"_s, QJsonValue::Undefined);
}

QByteArray LanguageServer::diagnosticsOf(const TextDocument &document)
{
    // Findings of a stale text would stand in the wrong places.
    if (document.isStale())
        return "[]";
    return m_encoders[document.uri()].encode(*analysis(document), positions(document), themeFindings(document));
}

void LanguageServer::publish(const TextDocument &document)
{
    const QByteArray found = diagnosticsOf(document);
    const auto last = m_published.constFind(document.uri());
    if (last != m_published.cend() && *last == found)
        return;
    m_published.insert(document.uri(), found);
    QByteArray params = "{\"uri\":";
    jsonwriter::appendString(params, document.uri());
    params.append(",\"version\":");
    jsonwriter::appendNumber(params, document.version());
    params.append(",\"diagnostics\":");
    params.append(found);
    params.append('}');
    m_send(jsonrpc::notificationBody(u"textDocument/publishDiagnostics"_s, params));
}

// --- requests on a document ---

LanguageServer::Reply LanguageServer::completion(const Request &request)
{
    if (std::optional<QJsonValue> paths = pathCompletion(*request.analysis, request.offset, request.positions()))
        return {*paths};
    return Reply::written(::completion(*request.analysis, request.offset, request.positions(), m_client));
}

LanguageServer::Reply LanguageServer::completionResolve(const Request &request)
{
    return {resolveCompletion(request.params.toObject(), m_client)};
}

LanguageServer::Reply LanguageServer::hover(const Request &request)
{
    return {::hover(*request.analysis, request.offset, request.positions(), m_client)};
}

LanguageServer::Reply LanguageServer::documentSymbol(const Request &request)
{
    return {documentSymbols(*request.analysis, request.positions(), m_client, request.document->uri())};
}

LanguageServer::Reply LanguageServer::foldingRange(const Request &request)
{
    return {foldingRanges(*request.analysis, request.positions())};
}

LanguageServer::Reply LanguageServer::documentHighlight(const Request &request)
{
    return {documentHighlights(*request.analysis, request.offset, request.positions())};
}

QString LanguageServer::uriOf(const QString &path) const
{
    const TextDocument *open = m_documents.findPath(path);
    return open ? open->uri() : uriOfPath(path);
}

LanguageServer::Reply LanguageServer::definition(const Request &request)
{
    return {::definition(*request.analysis, request.offset, [this](const QString &path) { return uriOf(path); })};
}

LanguageServer::Reply LanguageServer::documentLink(const Request &request)
{
    return {documentLinks(*request.analysis, request.positions(), [this](const QString &path) { return uriOf(path); })};
}

LanguageServer::Reply LanguageServer::codeAction(const Request &request)
{
    const QJsonValue &params = request.params;
    const auto range = request.positions().range(params[QLatin1StringView("range")]);
    if (!range)
        return Reply::failure(jsonrpc::InvalidParams, u"no range"_s);
    const QJsonValue only = params[QLatin1StringView("context")][QLatin1StringView("only")];
    if (only.isArray() && !only.toArray().contains(u"quickfix"_s))
        return {QJsonArray()};
    return {quickFixes(*request.analysis, range->first, range->second, request.positions(), request.document->uri(),
                       params[QLatin1StringView("context")][QLatin1StringView("diagnostics")].toArray())};
}

LanguageServer::Reply LanguageServer::pullDiagnostics(const Request &request)
{
    return Reply::written("{\"kind\":\"full\",\"items\":" + diagnosticsOf(*request.document) + '}');
}

LanguageServer::Reply LanguageServer::semanticTokensFull(const Request &request)
{
    const TextDocument &document = *request.document;
    return {m_semanticTokens.full(document.uri(), document.text(), request.positions())};
}

LanguageServer::Reply LanguageServer::semanticTokensDelta(const Request &request)
{
    const TextDocument &document = *request.document;
    return {m_semanticTokens.delta(document.uri(), request.params[QLatin1StringView("previousResultId")].toString(),
                                   document.text(), request.positions())};
}

// --- across the theme ---

ThemeIndex *LanguageServer::themeOf(const QString &path)
{
    const SiteSetup setup = m_setups.forDocument(path);
    return m_themes.theme(setup.context.templateRoot, setup.context.siteRoot);
}

LanguageServer::Reply LanguageServer::references(const Request &request)
{
    ThemeIndex *theme = themeOf(request.document->path());
    if (!theme)
        return {QJsonValue::Null};
    return {m_themes.references(*theme, request.document->path(), request.offset, m_client.encoding)};
}

LanguageServer::Reply LanguageServer::willRenameFiles(const Request &request)
{
    QJsonObject changes;
    for (const QJsonValue &file : request.params[QLatin1StringView("files")].toArray()) {
        const QString from = pathOfUri(file[QLatin1StringView("oldUri")].toString());
        const QString to = pathOfUri(file[QLatin1StringView("newUri")].toString());
        if (from.isEmpty() || to.isEmpty() || m_renamesAsked.removeOne(std::pair(from, to)))
            continue;
        if (ThemeIndex *theme = themeOf(from))
            m_themes.renameEdits(*theme, from, to, m_client.encoding, changes);
    }
    if (changes.isEmpty())
        return {QJsonValue::Null};
    return {QJsonObject{{u"changes"_s, changes}}};
}

void LanguageServer::didRenameFiles(const QJsonValue &params)
{
    for (const QJsonValue &file : params[QLatin1StringView("files")].toArray()) {
        const QString from = pathOfUri(file[QLatin1StringView("oldUri")].toString());
        const QString to = pathOfUri(file[QLatin1StringView("newUri")].toString());
        m_renamesAsked.removeOne(std::pair(from, to));
        m_themes.renamed(from, to);
    }
    scheduleOthers(QString());
}

QList<Finding> LanguageServer::themeFindings(const TextDocument &document)
{
    const SiteSetup setup = m_setups.forDocument(document.path());
    if (setup.ignored || !setup.rules->config || setup.rules->config->templateRoot.isEmpty())
        return {};
    const ThemeIndex *theme = m_themes.theme(setup.context.templateRoot, setup.context.siteRoot);
    const QString path = QDir::cleanPath(document.path());
    if (!theme || !isUnusedTemplate(*theme, path))
        return {};
    return setup.configured({unusedTemplateFinding(*theme, path)});
}

// A client that cannot rename a file in the same edit would leave every
// path naming a file that is not there: refused before a name is asked for.
LanguageServer::Reply LanguageServer::prepareRename(const Request &request)
{
    const std::optional<FileReference> reference = pathToRename(*request.analysis, request.offset);
    if (!reference)
        return {QJsonValue::Null};
    const QString written = request.analysis->textOf(reference->path).toString();
    QString refusal = renameRefusal(*request.analysis, *reference);
    if (refusal.isEmpty() && !m_client.renameFiles)
        refusal = u"无法重命名 %1：编辑器不能在同一次编辑中重命名文件（workspaceEdit 的 documentChanges 与 rename 操作）"_s.arg(written);
    if (!refusal.isEmpty())
        return Reply::failure(jsonrpc::RequestFailed, refusal);
    return {QJsonObject{{u"range"_s, request.positions().range(reference->path.start, reference->path.length)},
                        {u"placeholder"_s, written}}};
}

LanguageServer::Reply LanguageServer::rename(const Request &request)
{
    const QJsonValue newName = request.params[QLatin1StringView("newName")];
    if (!newName.isString())
        return Reply::failure(jsonrpc::InvalidParams, u"no newName"_s);
    const Reply prepared = prepareRename(request);
    if (prepared.error || prepared.result.isNull())
        return prepared.error ? prepared : Reply::failure(jsonrpc::RequestFailed, u"无法重命名：光标不在 include 或 static 的路径上"_s);
    const FileReference reference = *pathToRename(*request.analysis, request.offset);
    const RenamedFile renamed = renamedFile(*request.analysis, reference, newName.toString());
    if (!renamed.refusal.isEmpty())
        return Reply::failure(jsonrpc::RequestFailed, renamed.refusal);
    const QString from = reference.resolved;
    if (renamed.path == from)
        return {QJsonObject{{u"documentChanges"_s, QJsonArray()}}};
    ThemeIndex *theme = themeOf(request.document->path());
    if (!theme)
        return Reply::failure(jsonrpc::RequestFailed, u"无法重命名：不知道模板根目录"_s);
    // The document renamed from may be one the theme does not hold (a .php
    // page, say): its own paths change too.
    QList<ThemeLinkAt> outside;
    const QString here = QDir::cleanPath(request.document->path());
    if (!theme->find(here)) {
        for (const FileReference &named : request.analysis->fileReferences()) {
            const QString written = request.analysis->textOf(named.path).toString();
            outside << ThemeLinkAt{here, {named.include ? ThemeLinkKind::Include : ThemeLinkKind::Static, named.path, 0,
                                          0, written, named.resolved}};
        }
    }
    const ThemeFeatures::PathEdits edits =
        m_themes.pathEdits(*theme, from, renamed.path, m_client.encoding, outside);
    if (!edits.unreachable.isEmpty()) {
        return Reply::failure(jsonrpc::RequestFailed,
                              u"无法重命名 %1：%2 中的路径从它的根目录指不到新位置"_s.arg(
                                  request.analysis->textOf(reference.path).toString(),
                                  theme->relativePath(edits.unreachable.first())));
    }
    // The paths first, then the file: a client stopping half-way leaves
    // the theme as it was on disk.
    QJsonArray changes;
    for (const ThemeFeatures::FileEdits &file : edits.files) {
        const TextDocument *open = m_documents.findPath(file.path);
        changes << QJsonObject{
            {u"textDocument"_s, QJsonObject{{u"uri"_s, uriOf(file.path)},
                                            {u"version"_s, open ? QJsonValue(open->version()) : QJsonValue::Null}}},
            {u"edits"_s, file.edits}};
    }
    changes << QJsonObject{{u"kind"_s, u"rename"_s}, {u"oldUri"_s, uriOf(from)}, {u"newUri"_s, uriOfPath(renamed.path)}};
    // Only the last: a client that never tells of the rename leaves no
    // stale entry for long.
    m_renamesAsked = {std::pair(from, renamed.path)};
    return {QJsonObject{{u"documentChanges"_s, changes}}};
}

LanguageServer::Reply LanguageServer::workspaceSymbol(const Request &request)
{
    // The themes of the workspace folders too, however few documents are open.
    for (const QString &folder : m_setups.workspaceFolders())
        themeOf(QDir(folder).filePath(u"index.htm"_s));
    const WorkspaceSymbols symbols([this](const QString &path) { return uriOf(path); },
                                   [this](const QString &path) { return m_themes.textOf(path); });
    return {symbols.find(m_themes.themes(), request.params[QLatin1StringView("query")].toString(), m_client.encoding)};
}
