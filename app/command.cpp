#include "app/command.h"

#include "app/errorline.h"

#include "core/files/outputfile.h"
#include "core/product.h"
#include "core/files/rawbytes.h"
#include "core/files/runinputs.h"

QCommandLineOption helpOption()
{
    return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit."));
}

bool printHelp(const QCommandLineParser &parser, const QString &usage)
{
    // The usage line names the program as installed, not by the path it was started from.
    QString help = parser.helpText();
    help.replace(0, help.indexOf(u'\n'), QStringLiteral("Usage: ") + QString(usage).replace(QLatin1String("%1"), programName()));
    const QString error = OutputFile::writeWhole("-", help.toUtf8());
    if (!error.isEmpty())
        writeErrorLine(error);
    return error.isEmpty();
}

int wrongArguments(const QString &problem, const QString &hint)
{
    writeErrorLine(problem + QStringLiteral(" (") + hint + u')');
    return WrongArguments;
}

QString seeHelpOf(const QString &command)
{
    return QStringLiteral("see %1 %2 --help").arg(programName(), command);
}

QString optionName(const QCommandLineOption &option)
{
    return QStringLiteral("--") + option.names().constLast();
}

QString givenMoreThanOnce(const QCommandLineParser &parser, const QList<QCommandLineOption> &options)
{
    for (const QCommandLineOption &option : options) {
        if (parser.values(option).size() > 1)
            return optionName(option) + QStringLiteral(" given more than once.");
    }
    return {};
}

TargetOption::TargetOption(const QStringList &names, const QString &description)
    : m_option(names, description, QStringLiteral("file"))
{
}

TargetOption TargetOption::output(const QString &what, const QString &more)
{
    return TargetOption({QStringLiteral("o"), QStringLiteral("output")},
                        QStringLiteral("Write the %1 to <file> instead of standard output (- is standard output)%2.")
                            .arg(what, more));
}

bool TargetOption::givenEmpty(const QCommandLineParser &parser) const
{
    return parser.isSet(m_option) && parser.value(m_option).isEmpty();
}

QByteArray TargetOption::target(const QCommandLineParser &parser, const QByteArray &otherwise) const
{
    return parser.isSet(m_option) ? rawBytesFromText(parser.value(m_option)) : otherwise;
}

QString refusalToWrite(const RunInputs &inputs, const QByteArray &target, const QString &what)
{
    const QString why = inputs.refusal(target);
    if (why.isEmpty())
        return {};
    return QStringLiteral("will not write the %1 to %2: %3").arg(what, textFromRawBytes(target), why);
}
