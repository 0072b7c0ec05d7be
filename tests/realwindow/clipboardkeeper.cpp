// clipboard-keeper: a clipboard manager of the freedesktop save-on-exit kind,
// small enough to read, for the real-window tests.
//
// It owns CLIPBOARD_MANAGER. A program that owns CLIPBOARD and is about to
// exit asks it to convert SAVE_TARGETS; the keeper then reads the clipboard as
// UTF8_STRING from that program, takes CLIPBOARD over, answers the program
// that its text is saved, and from then on serves the text itself, so that it
// outlives the program. Prints "ready" once it owns CLIPBOARD_MANAGER; runs
// until it is ended.

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

struct FreeEvent {
    void operator()(void *p) const { std::free(p); }
};

xcb_connection_t *connection = nullptr;
xcb_window_t window = XCB_NONE;
xcb_atom_t clipboard, manager, saveTargets, targets, utf8, kept;

xcb_atom_t intern(const char *name)
{
    std::unique_ptr<xcb_intern_atom_reply_t, FreeEvent> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, false, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

bool owns(xcb_atom_t selection)
{
    std::unique_ptr<xcb_get_selection_owner_reply_t, FreeEvent> reply(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr));
    return reply && reply->owner == window;
}

void notify(const xcb_selection_request_event_t &request, xcb_atom_t property)
{
    xcb_selection_notify_event_t event = {};
    event.response_type = XCB_SELECTION_NOTIFY;
    event.time = request.time;
    event.requestor = request.requestor;
    event.selection = request.selection;
    event.target = request.target;
    event.property = property;
    xcb_send_event(connection, false, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char *>(&event));
    xcb_flush(connection);
}

// The saved text, once there is one; and the SAVE_TARGETS request waiting
// for the clipboard's text to arrive.
std::string text;
bool holding = false;
bool saving = false;
xcb_selection_request_event_t saveRequest;

void serveClipboard(const xcb_selection_request_event_t &request)
{
    xcb_atom_t property = request.property != XCB_ATOM_NONE ? request.property : request.target;
    if (!holding) {
        property = XCB_ATOM_NONE;
    } else if (request.target == targets) {
        const xcb_atom_t offered[] = {targets, utf8, XCB_ATOM_STRING};
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request.requestor, property, XCB_ATOM_ATOM, 32, 3,
                            offered);
    } else if (request.target == utf8 || request.target == XCB_ATOM_STRING) {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request.requestor, property, request.target, 8,
                            uint32_t(text.size()), text.data());
    } else {
        property = XCB_ATOM_NONE;
    }
    notify(request, property);
}

void onRequest(const xcb_selection_request_event_t &request)
{
    if (request.selection == clipboard) {
        serveClipboard(request);
    } else if (request.selection == manager && request.target == saveTargets && !saving) {
        // Read the clipboard from its owner; the answer comes as a
        // SelectionNotify to the keeper's window.
        saving = true;
        saveRequest = request;
        xcb_convert_selection(connection, window, clipboard, utf8, kept, XCB_CURRENT_TIME);
        xcb_flush(connection);
    } else {
        notify(request, XCB_ATOM_NONE);
    }
}

void onClipboardArrived(const xcb_selection_notify_event_t &event)
{
    if (!saving)
        return;
    saving = false;
    bool saved = false;
    if (event.property != XCB_ATOM_NONE) {
        std::unique_ptr<xcb_get_property_reply_t, FreeEvent> reply(xcb_get_property_reply(
            connection, xcb_get_property(connection, true, window, kept, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 24),
            nullptr));
        if (reply && reply->format == 8 && reply->type == utf8) {
            text.assign(static_cast<const char *>(xcb_get_property_value(reply.get())),
                        size_t(xcb_get_property_value_length(reply.get())));
            xcb_set_selection_owner(connection, window, clipboard, XCB_CURRENT_TIME);
            holding = saved = owns(clipboard);
        }
    }
    std::fprintf(stderr, "clipboard-keeper: %s\n", saved ? "saved the clipboard" : "could not save the clipboard");
    notify(saveRequest, saved ? saveRequest.property : xcb_atom_t(XCB_ATOM_NONE));
}

} // namespace

int main()
{
    connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "clipboard-keeper: no X server\n");
        return 1;
    }
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    window = xcb_generate_id(connection);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_EVENT_MASK, &events);
    clipboard = intern("CLIPBOARD");
    manager = intern("CLIPBOARD_MANAGER");
    saveTargets = intern("SAVE_TARGETS");
    targets = intern("TARGETS");
    utf8 = intern("UTF8_STRING");
    kept = intern("ZUVI_KEPT_CLIPBOARD");
    xcb_set_selection_owner(connection, window, manager, XCB_CURRENT_TIME);
    if (!owns(manager)) {
        std::fprintf(stderr, "clipboard-keeper: another clipboard manager runs\n");
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);

    while (std::unique_ptr<xcb_generic_event_t, FreeEvent> event{xcb_wait_for_event(connection)}) {
        switch (event->response_type & 0x7f) {
        case XCB_SELECTION_REQUEST:
            onRequest(*reinterpret_cast<xcb_selection_request_event_t *>(event.get()));
            break;
        case XCB_SELECTION_NOTIFY:
            onClipboardArrived(*reinterpret_cast<xcb_selection_notify_event_t *>(event.get()));
            break;
        case XCB_SELECTION_CLEAR:
            if (reinterpret_cast<xcb_selection_clear_event_t *>(event.get())->selection == clipboard)
                holding = false;
            break;
        default:
            break;
        }
    }
    return 0;
}
