#include "lsp/languageserver.h"

#include "core/product.h"
#include "lsp/completion.h"
#include "lsp/diagnostics.h"
#include "lsp/hover.h"
#include "lsp/links.h"
#include "lsp/pathcompletion.h"
#include "lsp/quickfixes.h"
#include "lsp/structure.h"
#include "lsp/themefeatures.h"

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

} // namespace

LanguageServer::LanguageServer(Send send)
    : m_send(std::move(send)),
      m_setups(
          [this](const QString &path) -> std::optional<QString> {
              if (const TextDocument *document = m_documents.findPath(path))
                  return document->text();
              return std::nullopt;
          },
          [this](const QString &path) { return m_documents.findPath(path) || QFileInfo::exists(path); }),
      m_themes(
          [this](const QString &path) -> std::optional<QString> {
              if (const TextDocument *document = m_documents.findPath(path))
                  return document->text();
              return std::nullopt;
          },
          [this](const QString &path) { return uriOf(path); })
{
    m_requests = {
        {u"initialize"_s, &LanguageServer::initialize},
        {u"shutdown"_s, &LanguageServer::shutdown},
        {u"textDocument/completion"_s, &LanguageServer::completion},
        {u"textDocument/hover"_s, &LanguageServer::hover},
        {u"textDocument/documentSymbol"_s, &LanguageServer::documentSymbol},
        {u"textDocument/foldingRange"_s, &LanguageServer::foldingRange},
        {u"textDocument/documentHighlight"_s, &LanguageServer::documentHighlight},
        {u"textDocument/definition"_s, &LanguageServer::definition},
        {u"textDocument/documentLink"_s, &LanguageServer::documentLink},
        {u"textDocument/codeAction"_s, &LanguageServer::codeAction},
        {u"textDocument/diagnostic"_s, &LanguageServer::pullDiagnostics},
        {u"textDocument/references"_s, &LanguageServer::references},
        {u"workspace/willRenameFiles"_s, &LanguageServer::willRenameFiles},
    };
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
        m_send(*error);
        return;
    }
    if (const auto cancelled = m_queue.push(std::get<jsonrpc::Message>(std::move(parsed))))
        m_send(*cancelled);
}

void LanguageServer::receiveMalformed(const QString &problem)
{
    m_send(jsonrpc::errorResponse(QJsonValue::Null, jsonrpc::ParseError, u"unreadable header: %1"_s.arg(problem)));
}

bool LanguageServer::handleNext()
{
    std::optional<jsonrpc::Message> message = m_queue.take();
    if (!message)
        return false;
    if (!m_finished)
        handle(*message);
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
    Reply reply;
    if (m_state == State::Uninitialized && message.method != u"initialize"_s) {
        reply = Reply::failure(jsonrpc::ServerNotInitialized, u"the server is not initialized"_s);
    } else if (m_state == State::ShutDown && message.method != u"shutdown"_s) {
        reply = Reply::failure(jsonrpc::InvalidRequest, u"the server is shut down"_s);
    } else if (const auto handler = m_requests.value(message.method)) {
        reply = (this->*handler)(message.params);
    } else {
        reply = Reply::failure(jsonrpc::MethodNotFound, u"unknown method %1"_s.arg(message.method));
    }
    m_send(reply.error ? jsonrpc::errorResponse(message.id, reply.error, reply.message)
                       : jsonrpc::response(message.id, reply.result));
}

// --- lifecycle ---

LanguageServer::Reply LanguageServer::initialize(const QJsonValue &params)
{
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

    QJsonObject capabilities{
        {u"positionEncoding"_s, positionEncodingName(m_client.encoding)},
        {u"textDocumentSync"_s,
         QJsonObject{{u"openClose"_s, true}, {u"change"_s, 2}, {u"save"_s, QJsonObject{{u"includeText"_s, false}}}}},
        {u"completionProvider"_s,
         QJsonObject{{u"triggerCharacters"_s, QJsonArray{u"{"_s, u":"_s, u"/"_s, u" "_s, u"'"_s, u"\""_s}},
                     {u"resolveProvider"_s, false}}},
        {u"hoverProvider"_s, true},
        {u"documentSymbolProvider"_s, true},
        {u"foldingRangeProvider"_s, true},
        {u"documentHighlightProvider"_s, true},
        {u"definitionProvider"_s, true},
        {u"documentLinkProvider"_s, QJsonObject{{u"resolveProvider"_s, false}}},
        {u"codeActionProvider"_s, QJsonObject{{u"codeActionKinds"_s, QJsonArray{u"quickfix"_s}}}},
        {u"referencesProvider"_s, true},
        {u"workspace"_s,
         QJsonObject{{u"workspaceFolders"_s, QJsonObject{{u"supported"_s, true}, {u"changeNotifications"_s, true}}},
                     {u"fileOperations"_s, ThemeFeatures::fileOperations()}}},
    };
    if (m_client.pullDiagnostics) {
        capabilities.insert(u"diagnosticProvider"_s,
                            QJsonObject{{u"interFileDependencies"_s, true}, {u"workspaceDiagnostics"_s, false}});
    }
    return {QJsonObject{
        {u"capabilities"_s, capabilities},
        {u"serverInfo"_s, QJsonObject{{u"name"_s, u"zuvi-taggen"_s}, {u"version"_s, productVersion()}}},
    }};
}

LanguageServer::Reply LanguageServer::shutdown(const QJsonValue &)
{
    m_state = State::ShutDown;
    m_shutDown = true;
    return {QJsonValue::Null};
}

void LanguageServer::initialized(const QJsonValue &)
{
    // Files created or deleted may be named by an include, and a changed
    // configuration changes the findings: the client tells of them where it
    // watches files for the server.
    if (!m_client.watchedFilesRegistration)
        return;
    const QJsonArray watchers{
        QJsonObject{{u"globPattern"_s, u"**/*"_s}, {u"kind"_s, 1 | 4}},     // created, deleted
        QJsonObject{{u"globPattern"_s, u"**/.zuvi-check.json"_s}, {u"kind"_s, 2}},   // changed
    };
    ask(u"client/registerCapability"_s,
        QJsonObject{{u"registrations"_s,
                     QJsonArray{QJsonObject{{u"id"_s, u"zuvi-taggen-files"_s},
                                            {u"method"_s, u"workspace/didChangeWatchedFiles"_s},
                                            {u"registerOptions"_s, QJsonObject{{u"watchers"_s, watchers}}}}}}});
}

void LanguageServer::ask(const QString &method, const QJsonValue &params)
{
    m_send(jsonrpc::request(u"zuvi-taggen-%1"_s.arg(++m_asked), method, params));
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
    TextDocument &document = m_documents.open(uri, item[QLatin1StringView("text")].toString(),
                                              item[QLatin1StringView("version")].toInt());
    m_analyses.remove(uri);
    m_themes.textChanged(document.path(), document.text());
    publish(document);
    publishOthers(uri);
}

void LanguageServer::didChange(const QJsonValue &params)
{
    const QString uri = documentUri(params);
    TextDocument *document = m_documents.find(uri);
    if (!document)
        return;
    const int version = params[QLatin1StringView("textDocument")][QLatin1StringView("version")].toInt();
    document->applyChanges(params[QLatin1StringView("contentChanges")].toArray(), version, m_client.encoding);
    m_analyses.remove(uri);
    m_themes.textChanged(document->path(), document->text());
    publish(*document);
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
    if (m_published.contains(uri)) {
        m_published.remove(uri);
        m_send(jsonrpc::notification(u"textDocument/publishDiagnostics"_s,
                                     QJsonObject{{u"uri"_s, uri}, {u"diagnostics"_s, QJsonArray()}}));
    }
    publishOthers(uri);
}

void LanguageServer::didSave(const QJsonValue &params)
{
    const QString uri = documentUri(params);
    // A file saved for the first time now exists for the others' includes.
    publishOthers(uri);
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
    publishOthers(QString());
}

void LanguageServer::didChangeWatchedFiles(const QJsonValue &params)
{
    for (const QJsonValue &change : params[QLatin1StringView("changes")].toArray()) {
        const QString path = pathOfUri(change[QLatin1StringView("uri")].toString());
        if (change[QLatin1StringView("type")].toInt() == 3)
            m_themes.deleted(path);
        else if (!m_documents.findPath(path))
            m_themes.fileOnDisk(path);
    }
    publishOthers(QString());
}

std::shared_ptr<const DocumentAnalysis> LanguageServer::analysis(const TextDocument &document)
{
    std::shared_ptr<const DocumentAnalysis> &cached = m_analyses[document.uri()];
    if (!cached)
        cached = std::make_shared<const DocumentAnalysis>(document.text(), m_setups.forDocument(document.path()));
    return cached;
}

void LanguageServer::publish(const TextDocument &document)
{
    if (m_client.pullDiagnostics)
        return;
    const QJsonArray found = diagnostics(*analysis(document), positions(document));
    const auto last = m_published.constFind(document.uri());
    if (last != m_published.cend() && *last == found)
        return;
    m_published.insert(document.uri(), found);
    m_send(jsonrpc::notification(u"textDocument/publishDiagnostics"_s,
                                 QJsonObject{{u"uri"_s, document.uri()},
                                             {u"version"_s, document.version()},
                                             {u"diagnostics"_s, found}}));
}

void LanguageServer::publishOthers(const QString &except)
{
    bool others = false;
    for (const TextDocument *document : m_documents.all()) {
        if (document->uri() == except)
            continue;
        others = true;
        m_analyses.remove(document->uri());
        publish(*document);
    }
    if (others && m_client.pullDiagnostics && m_client.diagnosticRefresh)
        ask(u"workspace/diagnostic/refresh"_s, QJsonValue::Undefined);
}

// --- requests on a document ---

std::optional<LanguageServer::Target> LanguageServer::target(const QJsonValue &params, bool withPosition, Reply *failure)
{
    Target found;
    found.document = m_documents.find(documentUri(params));
    if (!found.document) {
        *failure = Reply::failure(jsonrpc::InvalidParams, u"no open document %1"_s.arg(documentUri(params)));
        return std::nullopt;
    }
    if (withPosition) {
        const auto offset = positions(*found.document).offset(params[QLatin1StringView("position")]);
        if (!offset) {
            *failure = Reply::failure(jsonrpc::InvalidParams, u"no position"_s);
            return std::nullopt;
        }
        found.offset = *offset;
    }
    found.analysis = analysis(*found.document);
    return found;
}

LanguageServer::Reply LanguageServer::completion(const QJsonValue &params)
{
    Reply failure;
    const auto at = target(params, true, &failure);
    if (!at)
        return failure;
    if (std::optional<QJsonValue> paths = pathCompletion(*at->analysis, at->offset, positions(*at->document)))
        return {*paths};
    return {::completion(*at->analysis, at->offset, positions(*at->document), m_client)};
}

LanguageServer::Reply LanguageServer::hover(const QJsonValue &params)
{
    Reply failure;
    const auto at = target(params, true, &failure);
    if (!at)
        return failure;
    return {::hover(*at->analysis, at->offset, positions(*at->document), m_client)};
}

LanguageServer::Reply LanguageServer::documentSymbol(const QJsonValue &params)
{
    Reply failure;
    const auto at = target(params, false, &failure);
    if (!at)
        return failure;
    return {documentSymbols(*at->analysis, positions(*at->document), m_client, at->document->uri())};
}

LanguageServer::Reply LanguageServer::foldingRange(const QJsonValue &params)
{
    Reply failure;
    const auto at = target(params, false, &failure);
    if (!at)
        return failure;
    return {foldingRanges(*at->analysis, positions(*at->document))};
}

LanguageServer::Reply LanguageServer::documentHighlight(const QJsonValue &params)
{
    Reply failure;
    const auto at = target(params, true, &failure);
    if (!at)
        return failure;
    return {documentHighlights(*at->analysis, at->offset, positions(*at->document))};
}

QString LanguageServer::uriOf(const QString &path) const
{
    const TextDocument *open = m_documents.findPath(path);
    return open ? open->uri() : uriOfPath(path);
}

LanguageServer::Reply LanguageServer::definition(const QJsonValue &params)
{
    Reply failure;
    const auto at = target(params, true, &failure);
    if (!at)
        return failure;
    return {::definition(*at->analysis, at->offset, [this](const QString &path) { return uriOf(path); })};
}

LanguageServer::Reply LanguageServer::documentLink(const QJsonValue &params)
{
    Reply failure;
    const auto at = target(params, false, &failure);
    if (!at)
        return failure;
    return {documentLinks(*at->analysis, positions(*at->document), [this](const QString &path) { return uriOf(path); })};
}

LanguageServer::Reply LanguageServer::codeAction(const QJsonValue &params)
{
    Reply failure;
    const auto at = target(params, false, &failure);
    if (!at)
        return failure;
    const auto range = positions(*at->document).range(params[QLatin1StringView("range")]);
    if (!range)
        return Reply::failure(jsonrpc::InvalidParams, u"no range"_s);
    const QJsonValue only = params[QLatin1StringView("context")][QLatin1StringView("only")];
    if (only.isArray() && !only.toArray().contains(u"quickfix"_s))
        return {QJsonArray()};
    return {quickFixes(*at->analysis, range->first, range->second, positions(*at->document), at->document->uri(),
                       params[QLatin1StringView("context")][QLatin1StringView("diagnostics")].toArray())};
}

LanguageServer::Reply LanguageServer::pullDiagnostics(const QJsonValue &params)
{
    Reply failure;
    const auto at = target(params, false, &failure);
    if (!at)
        return failure;
    return {QJsonObject{{u"kind"_s, u"full"_s}, {u"items"_s, diagnostics(*at->analysis, positions(*at->document))}}};
}

// --- across the theme ---

ThemeIndex *LanguageServer::themeOf(const QString &path)
{
    const SiteSetup setup = m_setups.forDocument(path);
    return m_themes.theme(setup.context.templateRoot, setup.context.siteRoot);
}

LanguageServer::Reply LanguageServer::references(const QJsonValue &params)
{
    Reply failure;
    const auto at = target(params, true, &failure);
    if (!at)
        return failure;
    ThemeIndex *theme = themeOf(at->document->path());
    if (!theme)
        return {QJsonValue::Null};
    return {m_themes.references(*theme, at->document->path(), at->offset, m_client.encoding)};
}

LanguageServer::Reply LanguageServer::willRenameFiles(const QJsonValue &params)
{
    QJsonObject changes;
    for (const QJsonValue &file : params[QLatin1StringView("files")].toArray()) {
        const QString from = pathOfUri(file[QLatin1StringView("oldUri")].toString());
        const QString to = pathOfUri(file[QLatin1StringView("newUri")].toString());
        if (from.isEmpty() || to.isEmpty())
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
        m_themes.renamed(pathOfUri(file[QLatin1StringView("oldUri")].toString()),
                         pathOfUri(file[QLatin1StringView("newUri")].toString()));
    }
    publishOthers(QString());
}
