#include "shell/platform/x11display.h"

#include <xcb/xcb.h>

X11Connection::X11Connection(const QByteArray &display)
{
    xcb_connection_t *connection = xcb_connect(display.constData(), nullptr);
    m_connection = connection;
    m_answers = !xcb_connection_has_error(connection);
}

X11Connection::~X11Connection()
{
    xcb_disconnect(static_cast<xcb_connection_t *>(m_connection));
}
