#include "lsp/clientsupport.h"

#include <QJsonArray>
#include <QJsonValue>

namespace {

QJsonValue at(const QJsonValue &value, std::initializer_list<const char *> path)
{
    QJsonValue current = value;
    for (const char *key : path)
        current = current[QLatin1StringView(key)];
    return current;
}

bool offersMarkdown(const QJsonValue &formats)
{
    return formats.toArray().contains(QStringLiteral("markdown"));
}

} // namespace

ClientSupport ClientSupport::fromCapabilities(const QJsonObject &capabilities)
{
    const QJsonValue c(capabilities);
    ClientSupport support;
    support.encoding = negotiatePositionEncoding(at(c, {"general", "positionEncodings"}).toArray());
    support.snippets = at(c, {"textDocument", "completion", "completionItem", "snippetSupport"}).toBool();
    support.completionMarkdown = offersMarkdown(at(c, {"textDocument", "completion", "completionItem", "documentationFormat"}));
    support.hoverMarkdown = offersMarkdown(at(c, {"textDocument", "hover", "contentFormat"}));
    support.pullDiagnostics = at(c, {"textDocument", "diagnostic"}).isObject();
    support.hierarchicalSymbols = at(c, {"textDocument", "documentSymbol", "hierarchicalDocumentSymbolSupport"}).toBool();
    support.watchedFilesRegistration = at(c, {"workspace", "didChangeWatchedFiles", "dynamicRegistration"}).toBool();
    support.diagnosticRefresh = at(c, {"workspace", "diagnostics", "refreshSupport"}).toBool();
    support.renameFiles = at(c, {"workspace", "workspaceEdit", "documentChanges"}).toBool()
        && at(c, {"workspace", "workspaceEdit", "resourceOperations"}).toArray().contains(QStringLiteral("rename"));
    return support;
}
