#pragma once

#include <QByteArray>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

class RunInputs;

// What the commands (export, check, lsp) share, so that they read their
// arguments, print their help, name where they write and end alike.

// The exit status. Each number means the same kind of thing in every
// command; the names say what it is in each.
enum ExitStatus {
    Done = 0,
    // The command ran, and the answer is no.
    Found = 1,        // check: a finding at or above the fail level
    NotWritten = 1,   // export, help, version: the output could not be written
    // The command could not do what it was asked.
    WrongArguments = 2,
    NotChecked = 2,   // check: a file that could not be checked, or the report not written
};

// -h, --help.
QCommandLineOption helpOption();

// The parser's help on standard output, its first line replaced by
// "Usage: " and `usage`, in which %1 is the program's name as installed.
// False, said on standard error, when it could not be written.
bool printHelp(const QCommandLineParser &parser, const QString &usage);

// "problem (hint)" on standard error: the status of wrong arguments.
int wrongArguments(const QString &problem, const QString &hint);
// "see zuvi-taggen check --help": the hint of a command that has a help of its own.
QString seeHelpOf(const QString &command);

// "--output", the name an option goes by in messages.
QString optionName(const QCommandLineOption &option);
// "--format given more than once." for the first of `options` that was;
// empty when none was.
QString givenMoreThanOnce(const QCommandLineParser &parser, const QList<QCommandLineOption> &options);

// An option that names where something is written (-o/--output, --graph):
// "-" is standard output, any other name is kept as the bytes it was given in.
class TargetOption
{
public:
    TargetOption(const QStringList &names, const QString &description);
    // -o/--output: "Write the <what> to <file> instead of standard output
    // (- is standard output)<more>."
    static TargetOption output(const QString &what, const QString &more = {});

    const QCommandLineOption &option() const { return m_option; }
    QString name() const { return optionName(m_option); }
    // Given with an empty name, which must not pass for standard output.
    bool givenEmpty(const QCommandLineParser &parser) const;
    // The target given, or `otherwise`.
    QByteArray target(const QCommandLineParser &parser, const QByteArray &otherwise) const;

private:
    QCommandLineOption m_option;
};

// Why `what` ("report") must not be written to `target`, a file the run
// reads, as one line; empty when it may be.
QString refusalToWrite(const RunInputs &inputs, const QByteArray &target, const QString &what);
