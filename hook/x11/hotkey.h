#pragma once
// The hot key as a passive grab on the root window: Ctrl+Shift+key with
// every combination of the other modifiers (Alt, Super, AltGr, Caps Lock,
// Num Lock...), so that no other modifier held prevents a capture.

#include <xcb/xcb.h>

#include <cstdint>
#include <vector>

namespace wlhook::x11 {

// The X keysym of a Windows virtual-key code: F1-F24, A-Z, 0-9. 0 when the
// code has none of these.
std::uint32_t keysymForVirtualKey(std::int32_t virtualKey);

class HotKeyGrab {
public:
    // Grabs Ctrl+Shift+key on root in synchronous keyboard mode (the
    // keyboard freezes at the press until the grabbing client decides).
    // False when the key has no keysym or keycode here, or when another
    // client holds Ctrl+Shift+key already; nothing stays grabbed then.
    bool grab(xcb_connection_t *connection, xcb_window_t root, std::int32_t virtualKey);
    void ungrab(xcb_connection_t *connection, xcb_window_t root);
    bool isHotKey(xcb_keycode_t keycode) const;

private:
    std::vector<xcb_keycode_t> keycodes_;
    std::vector<std::uint16_t> modifiers_;
};

} // namespace wlhook::x11
