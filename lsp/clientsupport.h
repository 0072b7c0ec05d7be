#pragma once

#include "lsp/positions.h"

#include <QJsonObject>

// What the client said at initialize that it can take.
struct ClientSupport {
    PositionEncoding encoding = PositionEncoding::Utf16;
    bool snippets = false;              // completion items with tab stops and choices
    bool completionMarkdown = false;
    bool hoverMarkdown = false;
    bool pullDiagnostics = false;       // textDocument/diagnostic
    bool hierarchicalSymbols = false;   // DocumentSymbol rather than SymbolInformation
    bool watchedFilesRegistration = false;   // takes file watchers registered by the server
    bool diagnosticRefresh = false;          // re-pulls diagnostics when the server asks
    bool renameFiles = false;   // applies a WorkspaceEdit's documentChanges with RenameFile operations

    static ClientSupport fromCapabilities(const QJsonObject &capabilities);
};
