#pragma once

#include "lsp/documentanalysis.h"
#include "lsp/positions.h"

#include <QJsonArray>

// The checker's findings of a document as the protocol's diagnostics, with
// their codes, configured severities and Chinese messages; a faulty
// configuration is one more diagnostic at the start of the document.
QJsonArray diagnostics(const DocumentAnalysis &analysis, const PositionMapper &positions);
