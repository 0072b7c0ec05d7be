#pragma once

// The program's command line: exporting the tags as editor templates, the
// check and lsp commands, help and version. It runs on a QCoreApplication in
// a program that links no GUI library (app/commandsmain.cpp), to which
// zuvi-taggen hands every run that is not for the windows. Returns the exit
// status: 0 done, 1 the output could not be written, 2 the arguments were
// wrong.
int runCommandLine(int argc, char *argv[]);
