#include "app/lspcommand.h"

#include "app/errorline.h"

#include "core/outputfile.h"
#include "core/product.h"
#include "lsp/stdioserver.h"

#include <QCommandLineParser>

#include <unistd.h>

int runLspCommand(const QStringList &arguments)
{
    enum ExitStatus { WrongArguments = 2 };
    // Clients often start a server with --stdio; standard input and output
    // are the only way this one speaks.
    const QCommandLineOption stdioOption(
        QStringLiteral("stdio"),
        QStringLiteral("Speak on standard input and output, the server's only way; accepted because editors "
                       "often pass it."));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help and exit."));
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
    parser.addOptions({stdioOption, helpOption});

    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        const QString problem = parser.positionalArguments().isEmpty()
            ? parser.errorText()
            : QStringLiteral("unexpected argument '%1'.").arg(parser.positionalArguments().constFirst());
        writeErrorLine(problem + QStringLiteral(" (see zuvi-taggen lsp --help)"));
        return WrongArguments;
    }
    if (parser.isSet(helpOption)) {
        QString help = parser.helpText();
        help.replace(0, help.indexOf(u'\n'), QStringLiteral("Usage: %1 lsp [--stdio]").arg(programName()));
        const QString error = OutputFile::writeWhole("-", help.toUtf8());
        if (!error.isEmpty()) {
            writeErrorLine(error);
            return 1;
        }
        return 0;
    }
    // Someone who typed the command at a terminal learns what waits for input.
    if (::isatty(STDIN_FILENO)) {
        writeErrorLine(QStringLiteral("the language server waits for an editor's messages on standard input "
                                      "(see zuvi-taggen lsp --help; Ctrl+D ends it)."));
    }
    return runLanguageServer();
}
