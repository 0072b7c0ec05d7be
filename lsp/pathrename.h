#pragma once

#include "core/check/templatecheck.h"
#include "lsp/documentanalysis.h"

#include <QString>

#include <optional>

// Renaming a file from a path that names it, the path of an include or
// static tag (textDocument/prepareRename, textDocument/rename). The new name
// is the path as it is to stand there, read under the same root as the
// path it replaces; the server then changes every path of the theme naming
// the file, and has the client rename the file itself.

// The path at `offset` (its ends included) that names a file where a root
// is known; nothing where none stands there.
std::optional<FileReference> pathToRename(const DocumentAnalysis &analysis, qsizetype offset);

// Why the file the path names cannot be renamed at all: it lies outside
// its root, or is not there. Empty where it can.
QString renameRefusal(const DocumentAnalysis &analysis, const FileReference &reference);

// Where the file goes when its path is written `newName` instead: its new
// absolute, clean path; or, in `refusal`, why it cannot go there (a path
// no tag can hold, out of its root, a file already there, a folder missing).
struct RenamedFile {
    QString path;
    QString refusal;
};
RenamedFile renamedFile(const DocumentAnalysis &analysis, const FileReference &reference, const QString &newName);
