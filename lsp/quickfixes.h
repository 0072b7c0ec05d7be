#pragma once

#include "lsp/documentanalysis.h"
#include "lsp/positions.h"

#include <QJsonArray>

// textDocument/codeAction: quick fixes for the checker's findings that
// touch the range [start, end]: a misspelled tag name replaced by the
// suggestion (in its closing tag too) and a misspelled attribute likewise,
// any other finding's replacement put over its range; the missing closing
// tag inserted at the end of the enclosing block (for a block left open,
// and for one a closing tag crossed); a stray closing tag removed. Each
// action names the client's diagnostic it fixes where the client sent it.
QJsonArray quickFixes(const DocumentAnalysis &analysis, qsizetype start, qsizetype end, const PositionMapper &positions,
                      const QString &uri, const QJsonArray &clientDiagnostics);
