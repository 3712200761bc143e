// Wlhook.dll: a WH_KEYBOARD hook on every thread of the desktop. The hook
// procedure runs on the input thread of whichever application has the
// keyboard focus, inside that application's process; on the release of
// Ctrl+Shift+HotKey it reads the focused control's text into the shared
// data and notifies the program's window synchronously.

#include "core/capture.h"
#include "core/shareddata.h"
#include "windowcontrol.h"
#include "wlhook.h"

#include <windows.h>

using namespace wlhook;

// One copy system-wide: every process that maps the library sees the same
// variables. Constant-initialised, so loading the library into another
// process never resets them.
constinit SharedData Shared __attribute__((section("WLHOOK_"), shared)) = initialSharedData();

// Per process.
static HINSTANCE ModuleInstance = nullptr;
static LONG InHook = 0;
// The hook this process installed and has not removed yet.
static HHOOK InstalledHook = nullptr;

static LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam)
{
    const HHOOK hook = reinterpret_cast<HHOOK>(Shared.HookHandle);
    if (code < 0 || InHook)
        return CallNextHookEx(hook, code, wParam, lParam);
    InHook = 1;

    const bool released = (static_cast<DWORD>(lParam) & 0x80000000u) != 0;
    if (isCaptureKey(Shared, released, GetCurrentProcessId(), GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
                     static_cast<std::int32_t>(wParam))) {
        clearCapture(Shared);
        const HWND focus = GetFocus();
        POINT caret{};
        GetCaretPos(&caret);
        ClientToScreen(focus, &caret);
        Shared.CaretPoint = {caret.x, caret.y};

        WindowControl control(focus);
        WindowsClipboard clipboard;
        CaptureFocusedText(Shared, control, clipboard, systemCodePage());

        const HWND target = reinterpret_cast<HWND>(Shared.TargetWindow);
        if (IsWindow(target))
            SendMessageW(target, Shared.NotifyMessage, 0, 0);
        InHook = 0;
        return 1; // the release is consumed
    }

    InHook = 0;
    return CallNextHookEx(hook, code, wParam, lParam);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        ModuleInstance = instance;
    return TRUE;
}

extern "C" {

int32_t WLHOOK_CALL HookKeyHandler(WlhookWindow window, uint32_t message, int32_t hotKey)
{
    // A second call replaces the hook instead of leaving the first one
    // installed where UnHookKeyHandler can no longer reach it.
    if (InstalledHook) {
        UnhookWindowsHookEx(InstalledHook);
        InstalledHook = nullptr;
    }
    beginHook(Shared, window, message, hotKey, GetCurrentProcessId());
    const HHOOK hook = SetWindowsHookExW(WH_KEYBOARD, KeyboardProc, ModuleInstance, 0);
    Shared.HookHandle = reinterpret_cast<std::uintptr_t>(hook);
    InstalledHook = hook;
    return hook ? 1 : 0;
}

int32_t WLHOOK_CALL UnHookKeyHandler(void)
{
    if (Shared.HookHandle == 0)
        return 0;
    const BOOL removed = UnhookWindowsHookEx(reinterpret_cast<HHOOK>(Shared.HookHandle));
    InstalledHook = nullptr;
    Sleep(100);
    return removed ? 1 : 0;
}

int32_t WLHOOK_CALL GetString(char *buffer, int32_t length)
{
    return copyCaptureTo(Shared, buffer, length);
}

int32_t WLHOOK_CALL GetStrLength(void)
{
    return capturedLength(Shared);
}

void WLHOOK_CALL GetScreenCaret(WlhookPoint *point)
{
    copyCaretTo(Shared, point);
}

} // extern "C"
