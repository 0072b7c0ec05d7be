#pragma once

#include "lsp/clientsupport.h"
#include "lsp/documentanalysis.h"

#include <QJsonArray>

// The shape of a template from its blocks.
//
// textDocument/documentSymbol: the tree of block tags, each from its
// opening tag to its end (a flat list with containers for clients without
// the tree).
QJsonArray documentSymbols(const DocumentAnalysis &analysis, const PositionMapper &positions,
                           const ClientSupport &client, const QString &uri);
// textDocument/foldingRange: blocks over several lines, up to the line
// before their closing tag, and comments over several lines.
QJsonArray foldingRanges(const DocumentAnalysis &analysis, const PositionMapper &positions);
// textDocument/documentHighlight: on a tag of a block, the names of its
// opening and closing tags.
QJsonArray documentHighlights(const DocumentAnalysis &analysis, qsizetype offset, const PositionMapper &positions);
