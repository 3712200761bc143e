#pragma once
// The focused application's text through the accessibility bus (AT-SPI):
// the selection, or the text from the caret to the end of its line, and the
// caret's screen position. A multi-line control gives the first line of its
// selection only, a single-line one all of it.
//
// GTK applications give up the focus while the hot key is grabbed (from its
// press) and take it back after the release, so the capture does not rely
// on the focused state alone: the object that had the focus at the press
// still counts, and an application whose focus is on its way back is
// waited for, briefly.
//
// libatspi keeps global state and is not thread-safe: only the worker thread
// uses it, with its own main context. Every call into another application
// is bounded by a timeout, and a capture gives up when its time is spent.

#include "wlhook.h"

#include "xevents.h"

#include <cstdint>
#include <optional>
#include <string>

typedef struct _AtspiAccessible AtspiAccessible;
typedef struct _AtspiEventListener AtspiEventListener;
typedef struct _GMainContext GMainContext;

namespace wlhook::x11 {

struct AccessibleCapture {
    std::int32_t result = CaptureNone; // CaptureSelection or CaptureFromCaret
    std::string text;                  // UTF-8
    std::optional<WlhookPoint> caret;  // screen position of the caret
};

class AccessibleText {
public:
    AccessibleText() = default;
    ~AccessibleText();
    AccessibleText(const AccessibleText &) = delete;
    AccessibleText &operator=(const AccessibleText &) = delete;

    // Connects to the accessibility bus (once per process) on `context` and
    // starts following focus changes. False when there is no bus.
    bool start(GMainContext *context);
    void stop();

    // The hot key went down: remembers the object that has the focus now.
    void notePress();

    // The focused text of process `pid`; nothing when the process has no
    // focused accessible text or does not answer before the deadline.
    std::optional<AccessibleCapture> capture(std::uint32_t pid, Clock::time_point deadline);

private:
    static void onFocus(void *event, void *self);
    AtspiAccessible *focusedObject(std::uint32_t pid, Clock::time_point deadline);
    AtspiAccessible *searchFocused(std::uint32_t pid, Clock::time_point deadline, bool &known);
    AtspiAccessible *waitForFocus(std::uint32_t pid, Clock::time_point until);

    GMainContext *context_ = nullptr;
    AtspiEventListener *listener_ = nullptr;
    AtspiAccessible *lastFocused_ = nullptr;  // the last object that reported gaining the focus
    bool lastLostFocus_ = false;              // ... and that has reported losing it since
    unsigned focusGains_ = 0;                 // focus gains reported so far
    AtspiAccessible *pressFocused_ = nullptr; // lastFocused_ at the press, while it had the focus
    bool started_ = false;
};

} // namespace wlhook::x11
