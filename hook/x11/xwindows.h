#pragma once
// What the backend asks the X server about windows: the focused window, the
// process that owns a window, whether a window still exists, and where it
// lies on the screen.

#include "wlhook.h"

#include <xcb/xcb.h>

#include <cstdint>
#include <string_view>

namespace wlhook::x11 {

xcb_atom_t internAtom(xcb_connection_t *connection, std::string_view name);

// The window with the input focus; when the focus follows the pointer, the
// top-level window under the pointer. XCB_NONE when there is none.
xcb_window_t focusedWindow(xcb_connection_t *connection, xcb_window_t root);

// The process id of the client that created window (X-Resource extension),
// or else the _NET_WM_PID of the window or of its nearest ancestor that has
// one. 0 when unknown.
std::uint32_t windowProcessId(xcb_connection_t *connection, xcb_window_t root, xcb_window_t window);

bool windowExists(xcb_connection_t *connection, xcb_window_t window);

// The window's top-left corner in root (screen) coordinates.
WlhookPoint windowOrigin(xcb_connection_t *connection, xcb_window_t root, xcb_window_t window);

} // namespace wlhook::x11
