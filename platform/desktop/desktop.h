#pragma once
// The other applications' windows on the desktop, as the capture handling
// needs them: which window is active, bringing one to the front, its title
// and where it lies; and the notification that the capture library sends to
// the program's main window. X11 asks the window manager through EWMH, and
// sets the input focus itself where no window manager runs; elsewhere
// (Wayland, the offscreen platform) nothing is known and nothing is done.

#include <QAbstractNativeEventFilter>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>

namespace desktop {

// A top-level window of any application; 0 is none.
using WindowId = quintptr;

class Windows {
public:
    virtual ~Windows() = default;

    // The active window: the window manager's active window, else the
    // top-level window that holds the input focus; 0 when there is none.
    virtual WindowId activeWindow() = 0;
    // Asks for `window` to become the active window, as a user's choice
    // would (window managers honour that without focus-stealing checks).
    // False when the window no longer exists.
    virtual bool activate(WindowId window) = 0;
    // Keeps `window` above the others (true) or no longer (false).
    virtual void setAbove(WindowId window, bool above) = 0;
    // The window's title; empty when it has none or no longer exists.
    virtual QString title(WindowId window) = 0;
    // The window's rectangle on the screen; empty when it no longer exists.
    virtual QRect frame(WindowId window) = 0;
};

// The windows of the desktop the program runs on.
std::unique_ptr<Windows> createWindows();

// Watches the main window's native events for the capture library's
// notification (a client message of the type named `typeName` carrying
// `message`, addressed to the window `target()` gives) and calls `notified`
// for each; the notification goes no further.
class HookNotifyFilter : public QAbstractNativeEventFilter {
public:
    HookNotifyFilter(std::function<WindowId()> target, const char *typeName, quint32 message,
                     std::function<void()> notified);
    ~HookNotifyFilter() override;
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace desktop
