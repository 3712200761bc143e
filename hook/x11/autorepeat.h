#pragma once

#include <xcb/xcb.h>

namespace wlhook::x11 {

// Asks for detectable auto-repeat on this connection: a key held down sends
// repeated presses and one release, not release-press pairs. False when the
// server lacks the keyboard extension.
bool detectableAutoRepeat(xcb_connection_t *connection);

} // namespace wlhook::x11
