#include "app/lspcommand.h"

#include "app/command.h"
#include "app/errorline.h"

#include "lsp/stdioserver.h"

#include <QCommandLineParser>

#include <unistd.h>

int runLspCommand(const QStringList &arguments)
{
    // Clients often start a server with --stdio; standard input and output
    // are the only way this one speaks.
    const QCommandLineOption stdioOption(
        QStringLiteral("stdio"),
        QStringLiteral("Speak on standard input and output, the server's only way; accepted because editors "
                       "often pass it."));
    const QCommandLineOption help = helpOption();
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Runs the language server for ZuviCMS templates: an editor that speaks the Language Server Protocol "
        "starts it and talks to it on standard input and output (JSON-RPC, Content-Length framing). It offers "
        "the catalog's tags as completions, their captions and tips on hover, the checker's findings (with the "
        "nearest .zuvi-check.json) as diagnostics while you type, the outline of blocks, folding, go to the "
        "included file, and quick fixes. Standard output carries the protocol alone; notes go to standard "
        "error. Exit status: 0 after the client's shutdown and exit, 1 when the client ends without "
        "shutdown, 2 a usage error. The README shows how to start it from Neovim, Emacs, Helix, Kate, "
        "Sublime Text and VS Code."));
    parser.addOptions({stdioOption, help});

    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        const QString problem = parser.positionalArguments().isEmpty()
            ? parser.errorText()
            : QStringLiteral("unexpected argument '%1'.").arg(parser.positionalArguments().constFirst());
        return wrongArguments(problem, seeHelpOf(QStringLiteral("lsp")));
    }
    if (parser.isSet(help))
        return printHelp(parser, QStringLiteral("%1 lsp [--stdio]")) ? Done : NotWritten;
    // Someone who typed the command at a terminal learns what waits for input.
    if (::isatty(STDIN_FILENO)) {
        writeErrorLine(QStringLiteral("the language server waits for an editor's messages on standard input "
                                      "(%1; Ctrl+D ends it).")
                           .arg(seeHelpOf(QStringLiteral("lsp"))));
    }
    return runLanguageServer();
}
