#pragma once

#include "lsp/clientsupport.h"
#include "lsp/documentanalysis.h"

#include <QJsonObject>

// textDocument/completion: what fits where the cursor stands.
//   - in text, or on a tag's name: every entry and builder of the catalog,
//     matched against what was typed (the tag name, the caption, its pinyin
//     or initials), whether or not "{" or "{zuvi:" came first;
//   - after "{/": the closing tag of the innermost open block;
//   - inside a tag: the attributes the tag is known to take;
//   - inside an attribute's value: the values the builders' drop-downs give.
// Answers a CompletionList, written as JSON; an item of the catalog gets
// its documentation (its tip and code) when the client resolves it.
QByteArray completion(const DocumentAnalysis &analysis, qsizetype offset, const PositionMapper &positions,
                      const ClientSupport &client);
// completionItem/resolve: the item with its documentation.
QJsonObject resolveCompletion(QJsonObject item, const ClientSupport &client);
