#pragma once

#include "lsp/documentanalysis.h"
#include "lsp/positions.h"

#include <QJsonValue>

#include <optional>

// Completion of a path inside file='…' or href='…' of an include or static
// tag: the folders and files of the folder typed so far, under the template
// root (or the site root after a leading '/'), folders first, then files by
// name; for an include only *.htm and *.html files. Nothing where the
// cursor stands in no such value, so that the tag completion answers.
std::optional<QJsonValue> pathCompletion(const DocumentAnalysis &analysis, qsizetype offset,
                                         const PositionMapper &positions);
