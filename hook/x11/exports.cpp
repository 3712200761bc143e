// libWlhook.so: the five exported functions on X11. The shared data lives in
// this process only (the hook runs in a thread of the process that installed
// it), guarded by a mutex because that thread writes it while the program
// reads it.

#include "core/shareddata.h"
#include "wlhook.h"
#include "worker.h"

#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <string_view>

#define WLHOOK_EXPORT __attribute__((visibility("default")))

using namespace wlhook;

namespace {

std::mutex dataMutex;
SharedData shared = initialSharedData();

std::mutex hookMutex;
std::unique_ptr<x11::Worker> worker;
std::uintptr_t installations = 0;

void publish(const x11::Capture &capture)
{
    const std::lock_guard lock(dataMutex);
    storeText(shared, capture.text.data(), capture.text.size());
    shared.CaptureResult = capture.result;
    shared.CaretPoint = capture.caret;
}

// Under Wayland the X server (Xwayland) sees the keys of its own windows
// only, and other applications' text and clipboard are out of its reach:
// no hot key there.
bool waylandSession()
{
    const char *display = std::getenv("WAYLAND_DISPLAY");
    const char *session = std::getenv("XDG_SESSION_TYPE");
    return (display && *display) || (session && std::string_view(session) == "wayland");
}

// The thread ends with the process (or the library) if the program never
// removed the hook.
struct StopAtExit {
    ~StopAtExit()
    {
        const std::lock_guard lock(hookMutex);
        worker.reset();
    }
} stopAtExit;

} // namespace

extern "C" {

WLHOOK_EXPORT int32_t HookKeyHandler(WlhookWindow window, uint32_t message, int32_t hotKey)
{
    const std::lock_guard hookLock(hookMutex);
    worker.reset(); // a second call replaces the first hook
    x11::HookSettings settings;
    {
        const std::lock_guard lock(dataMutex);
        beginHook(shared, window, message, hotKey, static_cast<std::uint32_t>(getpid()));
        shared.HookHandle = 0;
        settings.target = static_cast<xcb_window_t>(shared.TargetWindow);
        settings.message = shared.NotifyMessage;
        settings.hotKey = shared.HotKey;
        settings.ownerPid = shared.HookOwnerPid;
    }
    if (waylandSession())
        return 0;
    auto started = std::make_unique<x11::Worker>(settings, publish);
    if (!started->start())
        return 0;
    worker = std::move(started);
    const std::lock_guard lock(dataMutex);
    shared.HookHandle = ++installations;
    return 1;
}

WLHOOK_EXPORT int32_t UnHookKeyHandler(void)
{
    const std::lock_guard hookLock(hookMutex);
    if (!worker)
        return 0;
    worker.reset(); // returns once the thread has ended and the key is ungrabbed
    return 1;
}

WLHOOK_EXPORT int32_t GetString(char *buffer, int32_t length)
{
    const std::lock_guard lock(dataMutex);
    return copyCaptureTo(shared, buffer, length);
}

WLHOOK_EXPORT int32_t GetStrLength(void)
{
    const std::lock_guard lock(dataMutex);
    return capturedLength(shared);
}

WLHOOK_EXPORT void GetScreenCaret(WlhookPoint *point)
{
    const std::lock_guard lock(dataMutex);
    copyCaretTo(shared, point);
}

} // extern "C"
