// startup-watcher: what a launcher watches of the freedesktop startup
// notification, for the real-window tests. It reads the messages that
// programs send to the root window in pieces of 20 bytes
// (_NET_STARTUP_INFO_BEGIN, then _NET_STARTUP_INFO, up to a NUL), joins the
// pieces of each sender window, and prints each whole message on a line of
// its own. Prints "ready" once it listens; runs until it is ended.

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>

namespace {

struct FreeEvent {
    void operator()(void *p) const { std::free(p); }
};

xcb_atom_t intern(xcb_connection_t *connection, const char *name)
{
    std::unique_ptr<xcb_intern_atom_reply_t, FreeEvent> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, false, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

int main()
{
    int screenNumber = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection))
        return 1;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    const xcb_window_t root = screens.data->root;
    const xcb_atom_t begin = intern(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = intern(connection, "_NET_STARTUP_INFO");
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
    std::puts("ready");
    std::fflush(stdout);

    std::map<xcb_window_t, std::string> pending;
    while (std::unique_ptr<xcb_generic_event_t, FreeEvent> event{xcb_wait_for_event(connection)}) {
        if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
            continue;
        const auto *message = reinterpret_cast<const xcb_client_message_event_t *>(event.get());
        if (message->format != 8 || (message->type != begin && message->type != more))
            continue;
        std::string &text = pending[message->window];
        if (message->type == begin)
            text.clear();
        const char *piece = reinterpret_cast<const char *>(message->data.data8);
        const size_t length = strnlen(piece, 20);
        text.append(piece, length);
        if (length < 20) {
            std::printf("%s\n", text.c_str());
            std::fflush(stdout);
            pending.erase(message->window);
        }
    }
    return 0;
}
