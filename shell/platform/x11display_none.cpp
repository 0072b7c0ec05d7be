#include "shell/platform/x11display.h"

// Built without libxcb: a named display is taken to answer, and Qt judges.
bool x11DisplayAnswers(const QByteArray &display)
{
    return !display.isEmpty();
}
