#pragma once

// The program's command line: exporting the tags as editor templates, help
// and version. It runs on a QCoreApplication, so it needs no display; main()
// calls it before any QApplication exists. Returns the exit status: 0 done,
// 1 the output could not be written, 2 the arguments were wrong.
int runCommandLine(int argc, char *argv[]);
