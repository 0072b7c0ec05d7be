#include "app/commandline.h"

#include "app/checkcommand.h"
#include "app/command.h"
#include "app/errorline.h"
#include "app/lspcommand.h"

#include "core/catalog/editorexport.h"
#include "core/files/outputfile.h"
#include "core/product.h"
#include "core/files/rawbytes.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

struct ExportFormat {
    const char *name;
    const char *what;
    QByteArray (*bytes)();
};

const ExportFormat kFormats[] = {
    {"vscode", "a VS Code .code-snippets file", catalogVsCodeSnippets},
    {"jetbrains", "a JetBrains live template set", catalogJetBrainsTemplateSet},
};

QString formatNames(const QString &separator)
{
    QStringList names;
    for (const ExportFormat &format : kFormats)
        names << QString::fromLatin1(format.name);
    return names.join(separator);
}

const ExportFormat *findFormat(const QString &name)
{
    for (const ExportFormat &format : kFormats) {
        if (name == QLatin1String(format.name))
            return &format;
    }
    return nullptr;
}

// "options: --export vscode|jetbrains, -o/--output file, ...", the hint of
// error messages.
QString optionSummary(const QList<QCommandLineOption> &options)
{
    QStringList summary;
    for (const QCommandLineOption &option : options) {
        QStringList names;
        for (const QString &name : option.names())
            names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        summary << names.join(u'/') + (option.valueName().isEmpty() ? QString() : u' ' + option.valueName());
    }
    return QStringLiteral("options: ") + summary.join(QStringLiteral(", "));
}

// Standard output ("-") or the file named. A FIFO no process reads is the
// user's to fix, as a wrong argument is.
int writeOutput(const QByteArray &target, const QByteArray &bytes)
{
    OutputFile output(target);
    if (output.open() && output.write(bytes) && output.commit())
        return Done;
    writeErrorLine(output.errorString());
    return output.hadNoReader() ? WrongArguments : NotWritten;
}

} // namespace

int runCommandLine(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(programName());
    QCoreApplication::setApplicationVersion(productVersion());

    // The arguments with every byte kept, for file names in any locale.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << textFromRawBytes(argv[i]);
    // Commands by their first word; `export FORMAT` is --export FORMAT, and
    // `export --help` the help of the options the export takes.
    if (arguments.size() > 1 && arguments[1] == QLatin1String("check"))
        return runCheckCommand(QStringList{arguments[0]} + arguments.mid(2));
    if (arguments.size() > 1 && arguments[1] == QLatin1String("lsp"))
        return runLspCommand(QStringList{arguments[0]} + arguments.mid(2));
    if (arguments.size() > 1 && arguments[1] == QLatin1String("export")) {
        if (arguments.size() > 2 && arguments[2].startsWith(u'-'))
            arguments.removeAt(1);
        else
            arguments[1] = QStringLiteral("--export");
    }

    QStringList formats;
    for (const ExportFormat &format : kFormats)
        formats << QStringLiteral("%1, %2").arg(QLatin1String(format.name), QLatin1String(format.what));
    const QCommandLineOption exportOption(
        QStringLiteral("export"),
        QStringLiteral("Write every tag as editor templates: ") + formats.join(QStringLiteral("; ")) + u'.',
        formatNames(QStringLiteral("|")));
    const TargetOption output = TargetOption::output(QStringLiteral("export"));
    const QCommandLineOption &outputOption = output.option();
    const QCommandLineOption help = helpOption();
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           QStringLiteral("Show the version and exit."));
    // Taken by the windows, before the command line runs; listed for the help.
    const QCommandLineOption searchOption(
        QStringLiteral("search"),
        QStringLiteral("Open the windows with the search box, <text> typed in (--search alone: empty; "
                       "--search=<text> for a text that starts with a dash)."),
        QStringLiteral("text"));
    const QList<QCommandLineOption> options = {exportOption, outputOption, searchOption, help, versionOption};

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Writes ZuviCMS template tags. Without arguments it opens its windows, or brings to the "
                       "front the ones already open for this user and display; with --export (or export) it "
                       "writes every tag as editor templates, `check PATH...` checks templates (check --help), "
                       "and `lsp` is the language server an editor starts (lsp --help); none needs a display."));
    parser.addOptions(options);

    // One line that says what is wrong and what the program accepts.
    const QString hint = optionSummary(options);
    if (!parser.parse(arguments))
        return wrongArguments(parser.errorText(), hint);
    if (!parser.positionalArguments().isEmpty())
        return wrongArguments(QStringLiteral("unexpected argument '%1'.").arg(parser.positionalArguments().first()), hint);
    if (const QString twice = givenMoreThanOnce(parser, {exportOption, outputOption}); !twice.isEmpty())
        return wrongArguments(twice, hint);

    if (parser.isSet(searchOption) && !parser.isSet(help) && !parser.isSet(versionOption))
        return wrongArguments(QStringLiteral("--search is for the windows; it takes no other option."), hint);

    if (parser.isSet(help)) {
        return printHelp(parser, QStringLiteral("%1 [options]\n       %1 --search [text]\n       %1 export vscode|jetbrains "
                                                "[-o file]\n       %1 check [options] PATH...\n       %1 lsp [--stdio]"))
            ? Done
            : NotWritten;
    }
    if (parser.isSet(versionOption))
        return writeOutput("-", (programName() + u' ' + productVersion() + u'\n').toUtf8());
    if (!parser.isSet(exportOption)) {
        return wrongArguments(parser.isSet(outputOption) ? QStringLiteral("--output needs --export.")
                                                         : QStringLiteral("nothing to do."),
                              hint);
    }
    const ExportFormat *format = findFormat(parser.value(exportOption));
    if (!format) {
        writeErrorLine(QStringLiteral("unknown export format '%1'; use %2.")
                           .arg(parser.value(exportOption), formatNames(QStringLiteral(" or "))));
        return WrongArguments;
    }

    if (output.givenEmpty(parser))
        return wrongArguments(QStringLiteral("--output needs a file name, or - for standard output."), hint);

    return writeOutput(output.target(parser, "-"), format->bytes());
}
