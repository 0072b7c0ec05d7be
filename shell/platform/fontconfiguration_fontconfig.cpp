#include "shell/platform/fontconfiguration.h"

#include <fontconfig/fontconfig.h>

#include <thread>

namespace {

// Joined at exit where nothing waited for it.
struct Reader
{
    std::thread thread;
    ~Reader()
    {
        if (thread.joinable())
            thread.join();
    }
};

Reader &reader()
{
    static Reader reader;
    return reader;
}

} // namespace

void startReadingFontConfiguration()
{
    // At the main thread's priority: the main thread waits for it.
    if (!reader().thread.joinable())
        reader().thread = std::thread([] { FcInit(); });
}

void awaitFontConfiguration()
{
    if (reader().thread.joinable())
        reader().thread.join();
}
