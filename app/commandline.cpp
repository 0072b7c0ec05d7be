#include "app/commandline.h"

#include "core/editorexport.h"
#include "core/product.h"
#include "lsp/stdioserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSaveFile>

#include <cstdio>

namespace {

enum ExitStatus { Done = 0, NotWritten = 1, WrongArguments = 2 };

struct ExportFormat {
    const char *name;
    const char *what;
    QByteArray (*write)(const QList<EditorTemplate> &);
};

const ExportFormat kFormats[] = {
    {"vscode", "a VS Code .code-snippets file", vsCodeSnippets},
    {"jetbrains", "a JetBrains live template set", jetBrainsTemplateSet},
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

// "--export vscode|jetbrains, -o/--output file, ...", for error messages.
QString optionSummary(const QList<QCommandLineOption> &options)
{
    QStringList summary;
    for (const QCommandLineOption &option : options) {
        QStringList names;
        for (const QString &name : option.names())
            names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        summary << names.join(u'/') + (option.valueName().isEmpty() ? QString() : u' ' + option.valueName());
    }
    return summary.join(QStringLiteral(", "));
}

bool writeTo(FILE *stream, const QByteArray &bytes)
{
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size())
           && std::fflush(stream) == 0;
}

int fail(ExitStatus status, const QString &message)
{
    writeTo(stderr, (QCoreApplication::applicationName() + QStringLiteral(": ") + message + u'\n').toUtf8());
    return status;
}

} // namespace

bool argumentsForTheWindows(const QStringList &arguments)
{
    // QApplication's and its X11 platform's options, by whether they take a value.
    static const QStringList withValue = {
        QStringLiteral("platform"), QStringLiteral("platformpluginpath"), QStringLiteral("platformtheme"),
        QStringLiteral("plugin"), QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowicon"),
        QStringLiteral("qwindowtitle"), QStringLiteral("session"), QStringLiteral("style"),
        QStringLiteral("stylesheet"), QStringLiteral("display"), QStringLiteral("geometry"),
        QStringLiteral("name"), QStringLiteral("title"), QStringLiteral("visual"), QStringLiteral("ncols"),
        QStringLiteral("cmap"), QStringLiteral("im"), QStringLiteral("inputstyle"), QStringLiteral("fn"),
        QStringLiteral("font"), QStringLiteral("bg"), QStringLiteral("fg"), QStringLiteral("btn"),
    };
    static const QStringList flags = {QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                      QStringLiteral("nograb"), QStringLiteral("dograb"), QStringLiteral("sync")};
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (!argument.startsWith(u'-'))
            return false;
        QString name = argument.mid(argument.startsWith(QStringLiteral("--")) ? 2 : 1);
        const qsizetype equals = name.indexOf(u'=');
        if (equals >= 0) {
            if (!withValue.contains(name.left(equals)))
                return false;
        } else if (withValue.contains(name)) {
            if (++i >= arguments.size())
                return false;
        } else if (!flags.contains(name)) {
            return false;
        }
    }
    return true;
}

int runCommandLine(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zuvi-taggen"));
    QCoreApplication::setApplicationVersion(productVersion());
    if (QCoreApplication::arguments().value(1) == QLatin1String("lsp"))
        return runLanguageServer(QCoreApplication::arguments().mid(2));

    QStringList formats;
    for (const ExportFormat &format : kFormats)
        formats << QStringLiteral("%1, %2").arg(QLatin1String(format.name), QLatin1String(format.what));
    const QCommandLineOption exportOption(
        QStringLiteral("export"),
        QStringLiteral("Write every tag as editor templates: ") + formats.join(QStringLiteral("; ")) + u'.',
        formatNames(QStringLiteral("|")));
    const QCommandLineOption outputOption(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("Write the export to <file>, created or replaced whole, instead of standard output."),
        QStringLiteral("file"));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help and exit."));
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           QStringLiteral("Show the version and exit."));
    const QList<QCommandLineOption> options = {exportOption, outputOption, helpOption, versionOption};

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Writes ZuviCMS template tags. Without arguments it opens its windows; with --export "
                       "it writes every tag as editor templates and needs no display."));
    parser.addOptions(options);

    // One line that says what is wrong and what the program accepts.
    auto wrongArguments = [&](const QString &problem) {
        return fail(WrongArguments, problem + QStringLiteral(" (options: ") + optionSummary(options) + u')');
    };
    if (!parser.parse(QCoreApplication::arguments()))
        return wrongArguments(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return wrongArguments(QStringLiteral("unexpected argument '%1'.").arg(parser.positionalArguments().first()));
    for (const QCommandLineOption &option : {exportOption, outputOption}) {
        if (parser.values(option).size() > 1)
            return wrongArguments(QStringLiteral("--%1 given more than once.").arg(option.names().last()));
    }

    if (parser.isSet(helpOption)) {
        // The usage line names the program as installed, not by the path it was started from.
        QString help = parser.helpText();
        help.replace(0, help.indexOf(u'\n'),
                     QStringLiteral("Usage: %1 [options]").arg(QCoreApplication::applicationName()));
        writeTo(stdout, help.toUtf8());
        return Done;
    }
    if (parser.isSet(versionOption)) {
        writeTo(stdout, (QCoreApplication::applicationName() + u' ' + productVersion() + u'\n').toUtf8());
        return Done;
    }
    if (!parser.isSet(exportOption)) {
        return wrongArguments(parser.isSet(outputOption) ? QStringLiteral("--output needs --export.")
                                                         : QStringLiteral("nothing to do."));
    }
    const ExportFormat *format = findFormat(parser.value(exportOption));
    if (!format) {
        return fail(WrongArguments, QStringLiteral("unknown export format '%1'; use %2.")
                                        .arg(parser.value(exportOption), formatNames(QStringLiteral(" or "))));
    }

    const QByteArray bytes = format->write(catalogTemplates());
    if (!parser.isSet(outputOption)) {
        if (!writeTo(stdout, bytes))
            return fail(NotWritten, QStringLiteral("cannot write to standard output."));
        return Done;
    }
    // Written beside the target and renamed over it: the file is either the
    // old one or the whole new one.
    const QString path = parser.value(outputOption);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(NotWritten, QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    return Done;
}
