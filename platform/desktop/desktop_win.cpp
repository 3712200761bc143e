#include "desktop/desktop.h"

// Windows: the foreground window, SetForegroundWindow, the topmost flag;
// the capture library's notification is a window message to the main window.

#include <QByteArray>

#include <windows.h>

namespace desktop {

namespace {

HWND handle(WindowId window)
{
    return reinterpret_cast<HWND>(window);
}

class Win32Windows final : public Windows {
public:
    WindowId activeWindow() override { return reinterpret_cast<WindowId>(GetForegroundWindow()); }

    bool activate(WindowId window) override
    {
        if (window == 0 || !IsWindow(handle(window)))
            return false;
        SetForegroundWindow(handle(window));
        return true;
    }

    void setAbove(WindowId window, bool above) override
    {
        if (window == 0 || !IsWindow(handle(window)))
            return;
        SetWindowPos(handle(window), above ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    QString title(WindowId window) override
    {
        if (window == 0 || !IsWindow(handle(window)))
            return {};
        wchar_t text[257] = {};
        const int n = GetWindowTextW(handle(window), text, 257);
        return QString::fromWCharArray(text, n > 0 ? n : 0);
    }

    QRect frame(WindowId window) override
    {
        RECT r{};
        if (window == 0 || !GetWindowRect(handle(window), &r))
            return {};
        return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
    }
};

} // namespace

std::unique_ptr<Windows> createWindows()
{
    return std::make_unique<Win32Windows>();
}

struct HookNotifyFilter::Private {
    std::function<WindowId()> target;
    quint32 message = 0;
    std::function<void()> notified;
};

HookNotifyFilter::HookNotifyFilter(std::function<WindowId()> target, const char *, quint32 message,
                                   std::function<void()> notified)
    : d(std::make_unique<Private>())
{
    d->target = std::move(target);
    d->message = message;
    d->notified = std::move(notified);
}

HookNotifyFilter::~HookNotifyFilter() = default;

bool HookNotifyFilter::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result)
{
    if (eventType != "windows_generic_MSG")
        return false;
    const MSG *msg = static_cast<const MSG *>(message);
    if (msg->message != d->message || reinterpret_cast<WindowId>(msg->hwnd) != d->target())
        return false;
    d->notified();
    if (result)
        *result = 0;
    return true;
}

} // namespace desktop
