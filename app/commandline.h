#pragma once

#include <QStringList>

#include <optional>

// The program's command line: exporting the tags as editor templates, help
// and version. It runs on a QCoreApplication, so it needs no display; main()
// calls it before any QApplication exists. Returns the exit status: 0 done,
// 1 the output could not be written, 2 the arguments were wrong.
int runCommandLine(int argc, char *argv[]);

// What the windows are asked for: the search palette open, with a query typed in.
struct WindowArguments {
    bool search = false;
    QString searchText;
    bool operator==(const WindowArguments &) const = default;
};

// The arguments (without the program's name) for the windows: none at all,
// the toolkit's own options (-platform xcb, -style fusion, -reverse, ...),
// which QApplication takes, and --search, with a text to search for as the
// next argument (unless it starts with a dash) or as --search=TEXT. Nothing
// where any other argument is given: that is for the command line, which
// accepts or refuses it.
std::optional<WindowArguments> argumentsForTheWindows(const QStringList &arguments);

// For the windows when no display answers (`why`, from the platform check):
// one line that says so and points to what works without one. Returns the
// exit status, 1.
int refuseWindowsWithoutDisplay(const QString &why);

// For a start that found a tool running for the user and display, at the
// socket `path`, which did not answer: one line that says so. Returns the
// exit status, 1.
int refuseHandOverUnanswered(const QString &path);
