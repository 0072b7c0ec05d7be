#pragma once

#include "lsp/documentanalysis.h"
#include "lsp/positions.h"

#include <QJsonArray>

// textDocument/codeAction: the checker's quick fixes (core/check/templatecheck.h)
// for the findings that touch the range [start, end], each a set of edits made
// together. Each action names the client's diagnostic it fixes where the
// client sent it.
QJsonArray quickFixes(const DocumentAnalysis &analysis, qsizetype start, qsizetype end, const PositionMapper &positions,
                      const QString &uri, const QJsonArray &clientDiagnostics);
