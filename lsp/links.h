#pragma once

#include "lsp/documentanalysis.h"
#include "lsp/positions.h"

#include <QJsonArray>
#include <QJsonValue>

#include <functional>

// The files {zuvi:include file=…} and {zuvi:static file=…} name, resolved
// as the checker resolves them (fileReferences), that exist on disk or are
// open in the client. `uriOf` gives the URI of such a file.
using UriOfPath = std::function<QString(const QString &path)>;

// textDocument/definition: the file named where the cursor stands, as a
// Location at its start; null elsewhere.
QJsonValue definition(const DocumentAnalysis &analysis, qsizetype offset, const UriOfPath &uriOf);
// textDocument/documentLink: every such file of the document.
QJsonArray documentLinks(const DocumentAnalysis &analysis, const PositionMapper &positions, const UriOfPath &uriOf);
