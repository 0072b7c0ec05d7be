#pragma once

#include <QStringList>

// The program's command line: exporting the tags as editor templates, help
// and version. It runs on a QCoreApplication, so it needs no display; main()
// calls it before any QApplication exists. Returns the exit status: 0 done,
// 1 the output could not be written, 2 the arguments were wrong.
int runCommandLine(int argc, char *argv[]);

// Whether the arguments (without the program's name) are for the windows:
// none at all, or only the toolkit's own options (-platform xcb, -style
// fusion, -reverse, ...), which QApplication takes. Anything else is for the
// command line, which accepts or refuses it.
bool argumentsForTheWindows(const QStringList &arguments);

// For the windows when no display answers (`why`, from the platform check):
// one line that says so and points to what works without one. Returns the
// exit status, 1.
int refuseWindowsWithoutDisplay(const QString &why);
