#include "xevents.h"

#include <poll.h>

#include <cstdlib>

namespace wlhook::x11 {

XEvents::~XEvents()
{
    for (xcb_generic_event_t *event : kept_)
        std::free(event);
}

xcb_generic_event_t *XEvents::waitFor(const std::function<bool(const xcb_generic_event_t *)> &wanted,
                                      Clock::time_point deadline)
{
    for (;;) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection_)) {
            if (wanted(event))
                return event;
            kept_.push_back(event);
        }
        if (xcb_connection_has_error(connection_))
            return nullptr;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return nullptr;
        pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left));
    }
}

xcb_generic_event_t *XEvents::next()
{
    if (!kept_.empty()) {
        xcb_generic_event_t *event = kept_.front();
        kept_.pop_front();
        return event;
    }
    return xcb_poll_for_event(connection_);
}

} // namespace wlhook::x11
