#include "app/commandline.h"

#include "core/files/outputfile.h"

// The commands, which zuvi-taggen (app/launcher.cpp) starts for every run
// that is not for the windows. Qt Core alone: no display, no GUI library.
int main(int argc, char *argv[])
{
    reserveClosedStandardDescriptors();
    return runCommandLine(argc, argv);
}
