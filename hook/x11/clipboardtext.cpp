#include "clipboardtext.h"

#include "xwindows.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace wlhook::x11 {

ClipboardText::ClipboardText(xcb_connection_t *connection, XEvents &events, xcb_window_t root)
    : connection_(connection), events_(events), root_(root), clipboard_(internAtom(connection, "CLIPBOARD")),
      utf8String_(internAtom(connection, "UTF8_STRING")), incr_(internAtom(connection, "INCR")),
      target_(internAtom(connection, "WLHOOK_SELECTION"))
{
}

std::string ClipboardText::take(xcb_window_t requestor, bool &incremental, std::size_t enough)
{
    incremental = false;
    const auto longs = static_cast<std::uint32_t>(enough / 4 + 1);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, requestor, target_, XCB_GET_PROPERTY_TYPE_ANY, 0, longs),
            nullptr),
        std::free);
    xcb_delete_property(connection_, requestor, target_);
    xcb_flush(connection_);
    if (!reply)
        return {};
    if (reply->type == incr_) {
        incremental = true;
        return {};
    }
    if (reply->format != 8)
        return {};
    const auto length = std::min(static_cast<std::size_t>(xcb_get_property_value_length(reply.get())), enough);
    return std::string(static_cast<const char *>(xcb_get_property_value(reply.get())), length);
}

std::string ClipboardText::read(Clock::time_point deadline, std::size_t enough)
{
    const xcb_window_t requestor = xcb_generate_id(connection_);
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, requestor, root_, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
    std::string text = read(requestor, deadline, enough);
    // Ends a transfer that is still going: the owner's next piece finds no window.
    xcb_destroy_window(connection_, requestor);
    xcb_flush(connection_);
    return text;
}

std::string ClipboardText::read(xcb_window_t requestor, Clock::time_point deadline, std::size_t enough)
{
    xcb_convert_selection(connection_, requestor, clipboard_, utf8String_, target_, XCB_CURRENT_TIME);
    xcb_flush(connection_);

    xcb_generic_event_t *answer = events_.waitFor(
        [this, requestor](const xcb_generic_event_t *e) {
            if ((e->response_type & 0x7F) != XCB_SELECTION_NOTIFY)
                return false;
            const auto *n = reinterpret_cast<const xcb_selection_notify_event_t *>(e);
            return n->requestor == requestor && n->selection == clipboard_;
        },
        deadline);
    if (!answer)
        return {};
    const bool refused = reinterpret_cast<xcb_selection_notify_event_t *>(answer)->property == XCB_ATOM_NONE;
    std::free(answer);
    if (refused)
        return {};

    bool incremental = false;
    std::string text = take(requestor, incremental, enough);
    if (!incremental)
        return text;

    // Each deletion of the property asks for the next piece; an empty piece
    // ends the transfer.
    while (text.size() < enough) {
        xcb_generic_event_t *piece = events_.waitFor(
            [this, requestor](const xcb_generic_event_t *e) {
                if ((e->response_type & 0x7F) != XCB_PROPERTY_NOTIFY)
                    return false;
                const auto *p = reinterpret_cast<const xcb_property_notify_event_t *>(e);
                return p->window == requestor && p->atom == target_ && p->state == XCB_PROPERTY_NEW_VALUE;
            },
            deadline);
        if (!piece)
            break;
        std::free(piece);
        bool again = false;
        const std::string part = take(requestor, again, enough - text.size());
        if (part.empty())
            break;
        text += part;
    }
    return text;
}

} // namespace wlhook::x11
