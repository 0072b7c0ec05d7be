#include "shell/platform/x11display.h"

#include <xcb/xcb.h>

bool x11DisplayAnswers(const QByteArray &display)
{
    // As Qt's own connection will be made: the server's address and its
    // authorization both count.
    xcb_connection_t *connection = xcb_connect(display.constData(), nullptr);
    const bool answers = !xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    return answers;
}
