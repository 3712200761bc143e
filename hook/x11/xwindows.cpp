#include "xwindows.h"

#include <xcb/res.h>

#include <cstdlib>
#include <memory>

namespace wlhook::x11 {
namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;
template <typename T> Reply<T> reply(T *r)
{
    return Reply<T>(r, std::free);
}

std::uint32_t processFromResources(xcb_connection_t *c, xcb_window_t window)
{
    const xcb_query_extension_reply_t *res = xcb_get_extension_data(c, &xcb_res_id);
    if (!res || !res->present)
        return 0;
    xcb_res_client_id_spec_t spec{window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
    auto ids = reply(xcb_res_query_client_ids_reply(c, xcb_res_query_client_ids(c, 1, &spec), nullptr));
    if (!ids)
        return 0;
    for (auto it = xcb_res_query_client_ids_ids_iterator(ids.get()); it.rem; xcb_res_client_id_value_next(&it))
        if ((it.data->spec.mask & XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID) &&
            xcb_res_client_id_value_value_length(it.data) >= 1)
            return *xcb_res_client_id_value_value(it.data);
    return 0;
}

std::uint32_t processFromProperty(xcb_connection_t *c, xcb_window_t root, xcb_window_t window)
{
    const xcb_atom_t pidAtom = internAtom(c, "_NET_WM_PID");
    for (int depth = 0; window != XCB_NONE && window != root && depth < 32; ++depth) {
        auto property =
            reply(xcb_get_property_reply(c, xcb_get_property(c, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr));
        if (property && property->format == 32 && xcb_get_property_value_length(property.get()) >= 4)
            return *static_cast<const std::uint32_t *>(xcb_get_property_value(property.get()));
        auto tree = reply(xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr));
        if (!tree)
            break;
        window = tree->parent;
    }
    return 0;
}

} // namespace

xcb_atom_t internAtom(xcb_connection_t *c, std::string_view name)
{
    auto r = reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(name.size()), name.data()), nullptr));
    return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_window_t focusedWindow(xcb_connection_t *c, xcb_window_t root)
{
    auto focus = reply(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    if (!focus)
        return XCB_NONE;
    xcb_window_t window = focus->focus;
    if (window == XCB_NONE || window == XCB_INPUT_FOCUS_POINTER_ROOT || window == root) {
        auto pointer = reply(xcb_query_pointer_reply(c, xcb_query_pointer(c, root), nullptr));
        window = pointer ? pointer->child : XCB_NONE;
    }
    return window;
}

std::uint32_t windowProcessId(xcb_connection_t *c, xcb_window_t root, xcb_window_t window)
{
    if (window == XCB_NONE)
        return 0;
    if (const std::uint32_t pid = processFromResources(c, window))
        return pid;
    return processFromProperty(c, root, window);
}

bool windowExists(xcb_connection_t *c, xcb_window_t window)
{
    if (window == XCB_NONE)
        return false;
    xcb_generic_error_t *error = nullptr;
    auto attributes = reply(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), &error));
    std::free(error);
    return attributes != nullptr;
}

WlhookPoint windowOrigin(xcb_connection_t *c, xcb_window_t root, xcb_window_t window)
{
    if (window == XCB_NONE)
        return {0, 0};
    xcb_generic_error_t *error = nullptr;
    auto moved = reply(xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window, root, 0, 0), &error));
    std::free(error);
    return moved ? WlhookPoint{moved->dst_x, moved->dst_y} : WlhookPoint{0, 0};
}

} // namespace wlhook::x11
