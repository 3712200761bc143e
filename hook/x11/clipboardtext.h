#pragma once
// The text of the CLIPBOARD selection, asked of its owner with a deadline:
// a hung owner cannot hang the capture.

#include "xevents.h"

#include <xcb/xcb.h>

#include <string>

namespace wlhook::x11
{

class ClipboardText
{
public:
    // requestor: a window of this connection that selects PropertyChange
    // events; the owner's answer is put into one of its properties.
    ClipboardText(xcb_connection_t *connection, XEvents &events, xcb_window_t requestor);

    // The clipboard's text as UTF-8, at most about `enough` bytes of it;
    // empty when there is no owner, the owner has no text or does not answer
    // before the deadline.
    std::string read(Clock::time_point deadline, std::size_t enough = 8192);

private:
    std::string property(bool &incremental, std::size_t enough);

    xcb_connection_t *connection_;
    XEvents &events_;
    xcb_window_t requestor_;
    xcb_atom_t clipboard_;
    xcb_atom_t utf8String_;
    xcb_atom_t incr_;
    xcb_atom_t target_;
};

} // namespace wlhook::x11
