#pragma once
// The X11 hook: one thread that owns its own X connection, grabs the hot
// key on the root window and, on its release, captures the focused
// application's text and notifies the program's window.
//
// Where this differs from the Windows hook, whose procedure sees every key
// of the focused application:
// - X grabs the press as well as the release. The press is consumed too,
//   except in the program's own window, where the grab is given up at the
//   press and the key is replayed to the window (so both its press and its
//   release pass on, as on Windows).
// - The grab matches the modifiers at the press: Ctrl and Shift must be down
//   when the key goes down (any other modifier may be down too). At the
//   release Ctrl and Shift must still be down, as on Windows; a release
//   without them captures nothing, but the key has been consumed.
// - The text comes through the accessibility bus instead of edit-control
//   messages: the selection (only its first line in a multi-line control,
//   as from a rich edit control), or the text from the caret to the end of
//   its line (at most 1,024 characters); the clipboard when there is no
//   accessible text. The control's selection is never changed.
// - The notification is a ClientMessage sent without waiting for the
//   program to handle it; the capture is complete before it is sent.

#include "wlhook.h"

#include <xcb/xcb.h>

#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>

namespace wlhook::x11 {

struct HookSettings {
    xcb_window_t target = XCB_NONE; // the window to notify
    std::uint32_t message = 0;      // the first value of the ClientMessage
    std::int32_t hotKey = 0;        // Windows virtual-key code
    std::uint32_t ownerPid = 0;     // keys in this process are not captured
};

struct Capture {
    std::int32_t result = CaptureNone;
    std::string text; // code page 932
    WlhookPoint caret{0, 0};
};

class Worker {
public:
    using Publish = std::function<void(const Capture &)>;
    Worker(HookSettings settings, Publish publish);
    ~Worker(); // stops the thread
    Worker(const Worker &) = delete;
    Worker &operator=(const Worker &) = delete;

    // Starts the thread and waits until it has grabbed the hot key. False
    // when there is no X display or the key cannot be grabbed; the thread has
    // ended then.
    bool start();

private:
    struct Loop;
    void run(std::promise<bool> &ready);

    HookSettings settings_;
    Publish publish_;
    std::thread thread_;
    int wake_[2] = {-1, -1}; // writing to wake_[1] ends the thread
};

} // namespace wlhook::x11
