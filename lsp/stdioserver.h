#pragma once

// `zuvi-taggen lsp`: the language server on standard input and output.
// Standard output carries the protocol's messages alone: whatever else the
// program or Qt would write there goes to standard error. Runs until the
// client's exit notification or the end of the input; returns the exit
// status (0 after a shutdown request, 1 without one).
int runLanguageServer();
