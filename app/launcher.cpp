// zuvi-taggen as the user starts it. It decides from the arguments alone
// whether the windows are wanted and hands the run to the program that does
// the work, before any library but the C library is loaded: the commands
// (export, check, lsp, --help, --version) never map Qt's GUI libraries, and
// the windows never load the checker or the language server. That program
// gets the same arguments, environment and process, so a parent that waits
// for this process, reads its memory or sends it a signal meets the program
// that does the work.

#include "app/windowarguments.h"

#include <cerrno>
#include <cstddef>
#include <climits>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace {

// Where the two programs are installed, from the folder of this one; the
// build tree has the same layout (app/CMakeLists.txt).
constexpr char kFromOwnFolder[] = ZUVI_PROGRAMS_FROM_BINDIR;
// The same, absolute, for a system without /proc.
constexpr char kInstalled[] = ZUVI_INSTALLED_PROGRAMS_DIR;

// The folder the programs are in: beside this program's own file, with its
// symbolic links resolved.
bool programFolder(char (&folder)[PATH_MAX])
{
    const ssize_t length = ::readlink("/proc/self/exe", folder, sizeof folder);
    if (length > 0 && size_t(length) < sizeof folder) {
        folder[length] = '\0';
        if (char *slash = std::strrchr(folder, '/')) {
            const ptrdiff_t room = folder + sizeof folder - slash;
            return std::snprintf(slash, size_t(room), "/%s", kFromOwnFolder) < room;
        }
    }
    return std::snprintf(folder, sizeof folder, "%s", kInstalled) < int(sizeof folder);
}

} // namespace

int main(int argc, char *argv[])
{
    const char *program = argumentsForTheWindows(argc - 1, argv + 1) ? "zuvi-taggen-windows"
                                                                     : "zuvi-taggen-commands";
    char folder[PATH_MAX] = "";
    char path[PATH_MAX];
    if (programFolder(folder) && std::snprintf(path, sizeof path, "%s/%s", folder, program) < int(sizeof path))
        ::execv(path, argv);
    else
        errno = ENAMETOOLONG;
    const int error = errno;
    std::fprintf(stderr, "zuvi-taggen: cannot run %s/%s: %s\n", folder, program, std::strerror(error));
    // As a shell says a program is missing (127) or cannot be run (126).
    return error == ENOENT ? 127 : 126;
}
