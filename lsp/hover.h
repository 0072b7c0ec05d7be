#pragma once

#include "lsp/clientsupport.h"
#include "lsp/documentanalysis.h"

#include <QJsonValue>

// textDocument/hover. On a tag's name: its captions and tips in the
// catalog with their pages, whether it opens a block, the attributes it is
// known to take. On an attribute: the values the tool knows for it. A Hover,
// or null where there is nothing to say.
QJsonValue hover(const DocumentAnalysis &analysis, qsizetype offset, const PositionMapper &positions,
                 const ClientSupport &client);
