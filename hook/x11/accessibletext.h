#pragma once
// The focused application's text through the accessibility bus (AT-SPI):
// the selection, or the text from the caret to the end of its line, and the
// caret's screen position.
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

namespace wlhook::x11
{

struct AccessibleCapture {
    std::int32_t result = CaptureNone; // CaptureSelection or CaptureFromCaret
    std::string text;                  // UTF-8
    std::optional<WlhookPoint> caret;  // screen position of the caret
};

class AccessibleText
{
public:
    AccessibleText() = default;
    ~AccessibleText();
    AccessibleText(const AccessibleText &) = delete;
    AccessibleText &operator=(const AccessibleText &) = delete;

    // Connects to the accessibility bus (once per process) on `context` and
    // starts following focus changes. False when there is no bus.
    bool start(GMainContext *context);
    void stop();

    // The focused text of process `pid`; nothing when the process has no
    // focused accessible text or does not answer before the deadline.
    std::optional<AccessibleCapture> capture(std::uint32_t pid, Clock::time_point deadline);

private:
    static void onFocus(void *event, void *self);
    AtspiAccessible *focusedObject(std::uint32_t pid, Clock::time_point deadline);

    AtspiEventListener *listener_ = nullptr;
    AtspiAccessible *lastFocused_ = nullptr;
    bool started_ = false;
};

} // namespace wlhook::x11
