#include "shell/platform/windowactivation.h"

#include <QGuiApplication>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct FreeReply {
    void operator()(void *reply) const { std::free(reply); }
};
template<typename Reply>
using ReplyPointer = std::unique_ptr<Reply, FreeReply>;

xcb_connection_t *x11Connection()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    return connection && !xcb_connection_has_error(connection) ? connection : nullptr;
}

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    ReplyPointer<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, false, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_window_t rootOf(xcb_connection_t *connection, xcb_window_t window)
{
    ReplyPointer<xcb_get_geometry_reply_t> reply(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    return reply ? reply->root : xcb_window_t(XCB_WINDOW_NONE);
}

// Whether a window manager runs that names `wanted` among what it supports.
bool windowManagerSupports(xcb_connection_t *connection, xcb_window_t root, xcb_atom_t wanted)
{
    const xcb_atom_t supported = atom(connection, "_NET_SUPPORTED");
    if (supported == XCB_ATOM_NONE || wanted == XCB_ATOM_NONE)
        return false;
    ReplyPointer<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, false, root, supported, XCB_ATOM_ATOM, 0, 4096), nullptr));
    if (!reply || reply->format != 32)
        return false;
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / int(sizeof(xcb_atom_t));
    return std::find(atoms, atoms + count, wanted) != atoms + count;
}

// A value of a startup notification message: quoted where it holds blanks,
// quotes or backslashes.
QByteArray startupValue(const QByteArray &value)
{
    QByteArray quoted;
    for (const char c : value) {
        if (c == ' ' || c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted;
}

} // namespace

bool activateThroughX11WindowManager(QWindow *window, quint32 launchTime)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection || launchTime == 0)
        return false;
    const auto id = xcb_window_t(window->winId());
    const xcb_window_t root = rootOf(connection, id);
    const xcb_atom_t activeWindow = atom(connection, "_NET_ACTIVE_WINDOW");
    if (root == XCB_WINDOW_NONE || !windowManagerSupports(connection, root, activeWindow))
        return false;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = id;
    event.type = activeWindow;
    event.data.data32[0] = 1;   // from an application
    event.data.data32[1] = launchTime;
    xcb_send_event(connection, false, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&event));
    xcb_flush(connection);
    return true;
}

void endX11StartupNotification(QWindow *window, const QByteArray &startupId)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return;
    const auto id = xcb_window_t(window->winId());
    const xcb_window_t root = rootOf(connection, id);
    const xcb_atom_t begin = atom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = atom(connection, "_NET_STARTUP_INFO");
    if (root == XCB_WINDOW_NONE || begin == XCB_ATOM_NONE || more == XCB_ATOM_NONE)
        return;
    // The message goes in pieces of 20 bytes, with its closing NUL, to
    // whoever watches the root window.
    const QByteArray message = QByteArrayLiteral("remove: ID=") + startupValue(startupId);
    const qsizetype length = message.size() + 1;
    for (qsizetype sent = 0; sent < length; sent += 20) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 8;
        event.window = id;
        event.type = sent == 0 ? begin : more;
        std::memcpy(event.data.data8, message.constData() + sent, size_t(qMin<qsizetype>(length - sent, 20)));
        xcb_send_event(connection, false, root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char *>(&event));
    }
    xcb_flush(connection);
}
