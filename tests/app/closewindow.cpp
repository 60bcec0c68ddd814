// Closes a top-level X window by its title the way a window manager's close button does: it
// sends the window WM_DELETE_WINDOW, so the program runs its own closing steps.
// Usage: closewindow "<title>"   (exit code 0 when the request was sent)

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

using Reply = std::unique_ptr<void, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    const Reply reply(xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr),
                      &std::free);
    if (!reply)
        return XCB_ATOM_NONE;
    return static_cast<xcb_intern_atom_reply_t*>(reply.get())->atom;
}

std::string title(xcb_connection_t* c, xcb_window_t w)
{
    const Reply reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, XCB_ATOM_WM_NAME, XCB_ATOM_ANY, 0, 1024), nullptr),
        &std::free);
    if (!reply)
        return {};
    auto* p = static_cast<xcb_get_property_reply_t*>(reply.get());
    return std::string(static_cast<const char*>(xcb_get_property_value(p)),
                       size_t(xcb_get_property_value_length(p)));
}

// Whether the window takes WM_DELETE_WINDOW: the program's real top-level window does, the
// helper windows a toolkit makes with the same title do not.
bool takesDeleteWindow(xcb_connection_t* c, xcb_window_t w, xcb_atom_t protocols, xcb_atom_t deleteWindow)
{
    const Reply reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, protocols, XCB_ATOM_ATOM, 0, 32), nullptr),
        &std::free);
    if (!reply)
        return false;
    auto* p = static_cast<xcb_get_property_reply_t*>(reply.get());
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(p));
    const int count = xcb_get_property_value_length(p) / int(sizeof(xcb_atom_t));
    for (int i = 0; i < count; ++i)
        if (atoms[i] == deleteWindow)
            return true;
    return false;
}

struct Target {
    std::string title;
    xcb_atom_t protocols;
    xcb_atom_t deleteWindow;
};

xcb_window_t findByTitle(xcb_connection_t* c, xcb_window_t parent, const Target& wanted)
{
    const Reply reply(xcb_query_tree_reply(c, xcb_query_tree(c, parent), nullptr), &std::free);
    if (!reply)
        return XCB_WINDOW_NONE;
    auto* tree = static_cast<xcb_query_tree_reply_t*>(reply.get());
    const xcb_window_t* children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
        if (title(c, children[i]) == wanted.title
            && takesDeleteWindow(c, children[i], wanted.protocols, wanted.deleteWindow))
            return children[i];
        if (const xcb_window_t found = findByTitle(c, children[i], wanted); found != XCB_WINDOW_NONE)
            return found;
    }
    return XCB_WINDOW_NONE;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <window title>\n", argv[0]);
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "cannot connect to the display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const Target target {argv[1], atom(c, "WM_PROTOCOLS"), atom(c, "WM_DELETE_WINDOW")};
    const xcb_window_t window = findByTitle(c, root, target);
    if (window == XCB_WINDOW_NONE) {
        std::fprintf(stderr, "no window titled \"%s\"\n", argv[1]);
        xcb_disconnect(c);
        return 1;
    }
    xcb_client_message_event_t event {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = target.protocols;
    event.data.data32[0] = target.deleteWindow;
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
    // A round trip, so the server has taken the event before we hang up.
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    xcb_disconnect(c);
    return 0;
}
