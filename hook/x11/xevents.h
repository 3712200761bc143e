#pragma once
// The worker's intake of X events. A capture waits for particular events
// (the clipboard owner's answer) with a deadline; whatever else arrives in
// the meantime is kept, in order, for the main loop.

#include <xcb/xcb.h>

#include <chrono>
#include <deque>
#include <functional>

namespace wlhook::x11 {

using Clock = std::chrono::steady_clock;

class XEvents {
public:
    explicit XEvents(xcb_connection_t *connection) : connection_(connection) {}
    ~XEvents();
    XEvents(const XEvents &) = delete;
    XEvents &operator=(const XEvents &) = delete;

    // The first event that `wanted` accepts, or null when the deadline
    // passes or the connection breaks. The caller frees the event.
    xcb_generic_event_t *waitFor(const std::function<bool(const xcb_generic_event_t *)> &wanted,
                                 Clock::time_point deadline);

    // The next event kept earlier or waiting on the connection, without
    // blocking; null when there is none. The caller frees the event.
    xcb_generic_event_t *next();

private:
    xcb_connection_t *connection_;
    std::deque<xcb_generic_event_t *> kept_;
};

} // namespace wlhook::x11
