#pragma once

#include <QStringList>

// `zuvi-taggen lsp [--stdio]`: the arguments of the language server, its
// help, and then the server itself (lsp/stdioserver.h). `arguments` begins
// with the program's name, followed by what came after "lsp". Returns the
// exit status: 0 after the client's shutdown and exit, 1 when the client
// ended without shutdown, 2 for wrong arguments.
int runLspCommand(const QStringList &arguments);
