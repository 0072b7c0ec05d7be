#include "shell/platform/fontconfiguration.h"

#include <fontconfig/fontconfig.h>
#include <sys/resource.h>
#include <unistd.h>

#include <thread>

void startReadingFontConfiguration()
{
    // Reads the configuration while the QApplication waits for the X server,
    // at a low priority. Nobody waits for it: where it has not finished, Qt's
    // own FcInit() reads it, and fontconfig keeps whichever is done first.
    std::thread([] {
        setpriority(PRIO_PROCESS, gettid(), 10);
        FcInit();
    }).detach();
}
