// Loaded into the program under test with LD_PRELOAD: another program that
// takes the clipboard the moment the tool writes it, every time.
//
// It is a second X connection, a client of its own to the server, holding
// the text of ZUVI_RIVAL_TEXT. Whenever the tool asks to own CLIPBOARD, the
// rival first waits a few milliseconds, so that the server's clock has moved
// past the time of the click or keystroke that made the tool copy, and takes
// CLIPBOARD itself. The tool's request, stamped with that earlier time, then
// reaches the server and is refused: the race another program wins, made
// certain. A thread of the rival serves its text to whoever reads the
// clipboard.

#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include <dlfcn.h>

namespace {

using SetSelectionOwner = xcb_void_cookie_t (*)(xcb_connection_t *, xcb_window_t, xcb_atom_t, xcb_timestamp_t);

SetSelectionOwner realSetSelectionOwner()
{
    static const auto real = reinterpret_cast<SetSelectionOwner>(dlsym(RTLD_NEXT, "xcb_set_selection_owner"));
    return real;
}

struct Rival {
    xcb_connection_t *connection = nullptr;
    xcb_window_t window = XCB_NONE;
    xcb_atom_t clipboard = XCB_ATOM_NONE;
    xcb_atom_t targets = XCB_ATOM_NONE;
    xcb_atom_t utf8 = XCB_ATOM_NONE;
    std::string text;
};

xcb_atom_t intern(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, false, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// Answers requests for the clipboard while the rival owns it: its targets,
// and its text as UTF8_STRING or STRING.
void serve(Rival *rival)
{
    while (xcb_generic_event_t *event = xcb_wait_for_event(rival->connection)) {
        if ((event->response_type & 0x7f) == XCB_SELECTION_REQUEST) {
            const auto *request = reinterpret_cast<xcb_selection_request_event_t *>(event);
            xcb_atom_t property = request->property != XCB_ATOM_NONE ? request->property : request->target;
            if (request->target == rival->targets) {
                const xcb_atom_t offered[] = {rival->targets, rival->utf8, XCB_ATOM_STRING};
                xcb_change_property(rival->connection, XCB_PROP_MODE_REPLACE, request->requestor, property,
                                    XCB_ATOM_ATOM, 32, 3, offered);
            } else if (request->target == rival->utf8 || request->target == XCB_ATOM_STRING) {
                xcb_change_property(rival->connection, XCB_PROP_MODE_REPLACE, request->requestor, property,
                                    request->target, 8, uint32_t(rival->text.size()), rival->text.data());
            } else {
                property = XCB_ATOM_NONE;
            }
            xcb_selection_notify_event_t notify = {};
            notify.response_type = XCB_SELECTION_NOTIFY;
            notify.time = request->time;
            notify.requestor = request->requestor;
            notify.selection = request->selection;
            notify.target = request->target;
            notify.property = property;
            xcb_send_event(rival->connection, false, request->requestor, XCB_EVENT_MASK_NO_EVENT,
                           reinterpret_cast<const char *>(&notify));
            xcb_flush(rival->connection);
        }
        std::free(event);
    }
}

Rival *rival()
{
    static Rival *const instance = []() -> Rival * {
        const char *text = std::getenv("ZUVI_RIVAL_TEXT");
        if (!text)
            return nullptr;
        auto *r = new Rival;
        r->text = text;
        r->connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(r->connection))
            return nullptr;
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(r->connection)).data;
        r->window = xcb_generate_id(r->connection);
        xcb_create_window(r->connection, XCB_COPY_FROM_PARENT, r->window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
        r->clipboard = intern(r->connection, "CLIPBOARD");
        r->targets = intern(r->connection, "TARGETS");
        r->utf8 = intern(r->connection, "UTF8_STRING");
        xcb_flush(r->connection);
        std::thread(serve, r).detach();
        return r;
    }();
    return instance;
}

} // namespace

extern "C" xcb_void_cookie_t xcb_set_selection_owner(xcb_connection_t *connection, xcb_window_t owner,
                                                     xcb_atom_t selection, xcb_timestamp_t time)
{
    Rival *r = rival();
    if (r && connection != r->connection && owner != XCB_NONE && selection == r->clipboard) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        realSetSelectionOwner()(r->connection, r->window, r->clipboard, XCB_CURRENT_TIME);
        // A round trip: the server has made the rival the owner before the
        // tool's request arrives.
        std::free(xcb_get_selection_owner_reply(r->connection, xcb_get_selection_owner(r->connection, r->clipboard),
                                                nullptr));
    }
    return realSetSelectionOwner()(connection, owner, selection, time);
}
