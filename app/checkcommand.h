#pragma once

#include <QStringList>

// `zuvi-taggen check [options] PATH…`: checks template files and folders of
// them and reports the findings in the format asked for. `arguments` begins
// with the program's name, followed by what came after "check". Returns the
// exit status: 0 nothing at or above the fail level, 1 something, 2 a usage
// error or a file that could not be checked (the others are still checked).
int runCheckCommand(const QStringList &arguments);
