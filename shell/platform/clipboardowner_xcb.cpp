#include "shell/platform/clipboardowner.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

struct FreeReply {
    void operator()(void *reply) const { std::free(reply); }
};
template<typename Reply>
using ReplyPointer = std::unique_ptr<Reply, FreeReply>;

} // namespace

// On X11 the server decides who owns CLIPBOARD, and it refuses a request
// stamped earlier than the last change: another program that took the
// clipboard a moment after the click keeps it. Qt's xcb clipboard reports
// ownership all the same (it notes the owner before the server answers and
// never takes it back on refusal), so the server is asked. The owner must be
// a window of this program's own connection: those are the resource ids in
// the range the server gave the connection.
std::optional<bool> windowSystemSaysWeOwnTheClipboard()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return std::nullopt;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection || xcb_connection_has_error(connection))
        return std::nullopt;

    // The atom stays the same for the life of the server, and the program
    // talks to one.
    static const xcb_atom_t clipboardAtom = [connection] {
        const char name[] = "CLIPBOARD";
        ReplyPointer<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, false, sizeof name - 1, name), nullptr));
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }();
    if (clipboardAtom == XCB_ATOM_NONE)
        return false;

    ReplyPointer<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, clipboardAtom), nullptr));
    if (!reply || reply->owner == XCB_NONE)
        return false;
    const xcb_setup_t *setup = xcb_get_setup(connection);
    return (reply->owner & ~setup->resource_id_mask) == setup->resource_id_base;
}
