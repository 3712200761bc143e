#pragma once
// The text of the CLIPBOARD selection, asked of its owner with a deadline:
// a hung owner cannot hang the capture.
//
// Each request has a window of its own, destroyed when the request ends.
// A large text comes in pieces (an incremental transfer); the request reads
// pieces until it has enough and then abandons the rest with its window, so
// no piece of an old transfer can reach a later request.

#include "xevents.h"

#include <xcb/xcb.h>

#include <string>

namespace wlhook::x11 {

class ClipboardText {
public:
    // root: the parent of the requests' windows.
    ClipboardText(xcb_connection_t *connection, XEvents &events, xcb_window_t root);

    // The clipboard's text as UTF-8, at most about `enough` bytes of it (its
    // start); empty when there is no owner, the owner has no text or does
    // not answer before the deadline.
    std::string read(Clock::time_point deadline, std::size_t enough = 8192);

private:
    std::string read(xcb_window_t requestor, Clock::time_point deadline, std::size_t enough);
    // The property's value, at most `enough` bytes; then the property is
    // deleted, which asks the owner for the next piece of a transfer.
    std::string take(xcb_window_t requestor, bool &incremental, std::size_t enough);

    xcb_connection_t *connection_;
    XEvents &events_;
    xcb_window_t root_;
    xcb_atom_t clipboard_;
    xcb_atom_t utf8String_;
    xcb_atom_t incr_;
    xcb_atom_t target_;
};

} // namespace wlhook::x11
