// The Windows hook test, run under Wine: this process is the program's side
// (a window that binds Wlhook.dll by name and installs the hook) and drives
// a second process, wintarget.exe, whose controls receive keys sent with
// SendInput. Every wait is bounded; a case that times out fails.
// Prints one line per check and exits with 1 when any check failed.

#include "wintarget.h"
#include "wlhook.h"

#include <richedit.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

// GetProcAddress answers a generic function pointer; go through void *.
template <typename Function> Function resolve(HMODULE library, const char *name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void *>(GetProcAddress(library, name)));
}

struct Api {
    HookKeyHandlerFunction hook = nullptr;
    UnHookKeyHandlerFunction unhook = nullptr;
    GetStringFunction getString = nullptr;
    GetStrLengthFunction getStrLength = nullptr;
    GetScreenCaretFunction getScreenCaret = nullptr;
};

struct Notification {
    int32_t result = -1;
    std::string text;
    int32_t length = -1;
    WlhookPoint caret{};
};

Api api;
std::vector<Notification> notifications;
HWND host = nullptr;
HWND hostEdit = nullptr;
HWND target = nullptr;
bool hostSawF12Release = false;
int failures = 0;

constexpr DWORD Timeout = 10000;

void check(bool ok, const char *name, const std::string &detail = {})
{
    if (ok) {
        std::printf("ok   %s\n", name);
    } else {
        ++failures;
        std::printf("FAIL %s%s%s\n", name, detail.empty() ? "" : ": ", detail.c_str());
    }
    std::fflush(stdout);
}

LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == wlhook::NotifyMessage) {
        Notification n;
        char buffer[wlhook::CaptureBufferSize];
        n.result = api.getString(buffer, sizeof buffer);
        n.text.assign(buffer, strnlen(buffer, sizeof buffer));
        n.length = api.getStrLength();
        api.getScreenCaret(&n.caret);
        notifications.push_back(n);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Runs this thread's messages until done() holds or the time is up.
template <typename Done> bool waitFor(Done done, DWORD timeout = Timeout)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= timeout)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeout - spent < 50 ? timeout - spent : 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_KEYUP && msg.wParam == VK_F12 && msg.hwnd == hostEdit)
                hostSawF12Release = true;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return true;
}

struct Key {
    WORD vk;
    bool up;
};

void sendKeys(std::initializer_list<Key> keys)
{
    std::vector<INPUT> inputs;
    for (const Key &k : keys) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = k.vk;
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(k.vk, MAPVK_VK_TO_VSC));
        in.ki.dwFlags = k.up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void sendHotKey()
{
    sendKeys({{VK_CONTROL, false},
              {VK_SHIFT, false},
              {VK_F12, false},
              {VK_F12, true},
              {VK_SHIFT, true},
              {VK_CONTROL, true}});
}

HWND control(int id)
{
    return GetDlgItem(target, id);
}

void setText(int id, const wchar_t *text)
{
    SendMessageW(control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void select(int id, int start, int end)
{
    SendMessageW(control(id), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

std::string selection(int id)
{
    const auto packed = static_cast<DWORD>(SendMessageW(control(id), EM_GETSEL, 0, 0));
    return std::to_string(LOWORD(packed)) + "-" + std::to_string(HIWORD(packed));
}

bool focus(int id)
{
    return SendMessageW(target, wintest::FocusControl, static_cast<WPARAM>(id), 0) == 1;
}

LONG targetF12Releases()
{
    return static_cast<LONG>(SendMessageW(target, wintest::F12ReleaseCount, 0, 0));
}

std::string describe(const Notification &n)
{
    return "result " + std::to_string(n.result) + " text \"" + n.text + "\" length " + std::to_string(n.length);
}

// Focuses the control, sends Ctrl+Shift+F12 and checks the one notification
// that must follow, and that the key release did not reach the control.
bool capture(const char *name, int id, int32_t result, const std::string &text, Notification *out = nullptr)
{
    const size_t before = notifications.size();
    const LONG releases = targetF12Releases();
    if (!focus(id)) {
        check(false, name, "the control did not get the focus");
        return false;
    }
    sendHotKey();
    if (!waitFor([&] { return notifications.size() > before; })) {
        check(false, name, "no notification");
        return false;
    }
    const Notification n = notifications[before];
    if (out)
        *out = n;
    const bool ok = n.result == result && n.text == text && n.length == static_cast<int32_t>(text.size());
    check(ok, name, describe(n));
    const LONG after = targetF12Releases();
    check(after == releases, (std::string(name) + ": key release consumed").c_str(),
          std::to_string(after - releases) + " releases reached the control");
    return ok;
}

bool startTarget()
{
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    dir = dir.substr(0, dir.find_last_of(L"\\/") + 1);
    std::wstring command = L"\"" + dir + L"wintarget.exe\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return waitFor(
        [] {
            target = FindWindowW(wintest::TargetClass, nullptr);
            return target && IsWindowVisible(target) && control(wintest::AnsiEdit);
        },
        30000);
}

void setClipboard(const char *text)
{
    if (!OpenClipboard(host))
        return;
    EmptyClipboard();
    const size_t size = std::strlen(text) + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(memory), text, size);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
}

bool inside(const WlhookPoint &p, HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}

} // namespace

int main()
{
    const HMODULE library = LoadLibraryW(L"Wlhook.dll");
    check(library != nullptr, "Wlhook.dll loads by name");
    if (!library)
        return 1;
    api.hook = resolve<HookKeyHandlerFunction>(library, "HookKeyHandler");
    api.unhook = resolve<UnHookKeyHandlerFunction>(library, "UnHookKeyHandler");
    api.getString = resolve<GetStringFunction>(library, "GetString");
    api.getStrLength = resolve<GetStrLengthFunction>(library, "GetStrLength");
    api.getScreenCaret = resolve<GetScreenCaretFunction>(library, "GetScreenCaret");
    check(api.hook && api.unhook && api.getString && api.getStrLength && api.getScreenCaret,
          "the five functions resolve by their undecorated names");
    if (failures)
        return 1;

    check(api.unhook() == 0, "UnHookKeyHandler without a hook answers 0");
    char initial[8] = "xxxxxxx";
    check(api.getString(initial, sizeof initial) == wlhook::CaptureNone && api.getStrLength() == 0 &&
              initial[0] == '\0',
          "nothing captured at load");

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = hostProc;
    wc.hInstance = instance;
    wc.lpszClassName = wintest::HostClass;
    RegisterClassW(&wc);
    host = CreateWindowExW(0, wintest::HostClass, L"Wlhook test host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 40, 400,
                           200, nullptr, nullptr, instance, nullptr);
    hostEdit = CreateWindowExW(0, L"Edit", L"host text", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 300, 24, host,
                               nullptr, instance, nullptr);

    check(api.hook(reinterpret_cast<WlhookWindow>(host), wlhook::NotifyMessage, VK_F12) == 1, "hook installed");
    if (!startTarget()) {
        check(false, "target window appears");
        return 1;
    }

    using namespace wintest;
    Notification n;

    setText(SingleLineEdit, L"hello world");
    select(SingleLineEdit, 6, 11);
    capture("edit selection", SingleLineEdit, wlhook::CaptureSelection, "world", &n);
    check(inside(n.caret, control(SingleLineEdit)), "caret point lies in the edit control",
          std::to_string(n.caret.x) + "," + std::to_string(n.caret.y));
    check(selection(SingleLineEdit) == "6-11", "selection untouched", selection(SingleLineEdit));

    select(SingleLineEdit, 6, 6);
    capture("edit caret-only capture", SingleLineEdit, wlhook::CaptureFromCaret, "world");
    check(selection(SingleLineEdit) == "6-6", "caret restored after the capture", selection(SingleLineEdit));

    select(SingleLineEdit, 11, 11);
    capture("edit caret at the end: empty text, still notified", SingleLineEdit, wlhook::CaptureFromCaret, "");

    setText(MultiLineEdit, L"xyabc\r\ndefgh");
    select(MultiLineEdit, 2, 10);
    capture("plain edit selection across two lines", MultiLineEdit, wlhook::CaptureSelection, "abcdef");

    setText(RichEdit, L"first para\rsecond");
    select(RichEdit, 6, 14);
    capture("rich edit selection across two paragraphs: first line", RichEdit, wlhook::CaptureSelection, "para");

    select(RichEdit, 2, 2);
    {
        const LRESULT mask = SendMessageW(control(RichEdit), EM_GETEVENTMASK, 0, 0);
        const LRESULT options = SendMessageW(control(RichEdit), EM_GETOPTIONS, 0, 0);
        // (Wine keeps automatic horizontal scrolling off in a multi-line rich edit.)
        check((mask & RichEventMask) == RichEventMask && (options & RichOptions) != 0,
              "rich edit starts with selection events and options the capture switches off",
              "mask " + std::to_string(mask) + " options " + std::to_string(options));
        capture("rich edit caret-only capture", RichEdit, wlhook::CaptureFromCaret, "rst para");
        check(selection(RichEdit) == "2-2", "rich edit caret restored", selection(RichEdit));
        check(SendMessageW(control(RichEdit), EM_GETEVENTMASK, 0, 0) == mask, "rich edit event mask restored");
        check(SendMessageW(control(RichEdit), EM_GETOPTIONS, 0, 0) == options, "rich edit options restored",
              std::to_string(SendMessageW(control(RichEdit), EM_GETOPTIONS, 0, 0)) + " after, " +
                  std::to_string(options) + " before");
    }

    setText(AnsiEdit, L"ansi text");
    select(AnsiEdit, 5, 9);
    capture("ANSI edit selection", AnsiEdit, wlhook::CaptureSelection, "text");

    setClipboard("clipboard words");
    capture("unrecognised control: the clipboard", ListBox, wlhook::CaptureClipboard, "clipboard words");

    // The hot key released after Ctrl: passed on, nothing captured. The
    // capture after it must be the first notification.
    setText(SingleLineEdit, L"sentinel");
    select(SingleLineEdit, 0, 8);
    {
        const LONG releases = targetF12Releases();
        focus(SingleLineEdit);
        sendKeys({{VK_CONTROL, false},
                  {VK_SHIFT, false},
                  {VK_F12, false},
                  {VK_CONTROL, true},
                  {VK_F12, true},
                  {VK_SHIFT, true}});
        check(waitFor([&] { return targetF12Releases() > releases; }), "F12 released after Ctrl reaches the control");
        capture("F12 released after Ctrl is not captured", SingleLineEdit, wlhook::CaptureSelection, "sentinel");
    }

    // Keys in the host's own process pass on and capture nothing.
    {
        SetForegroundWindow(host);
        SetFocus(hostEdit);
        hostSawF12Release = false;
        sendHotKey();
        check(waitFor([] { return hostSawF12Release; }), "the host's own F12 release reaches its edit");
        capture("keys in the host's process are not captured", SingleLineEdit, wlhook::CaptureSelection, "sentinel");
    }

    // A target window that no longer exists: the capture is stored, no
    // notification is sent, the key release is still consumed.
    {
        const HWND gone = CreateWindowExW(0, HostClass, L"gone", 0, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
        DestroyWindow(gone);
        check(api.hook(reinterpret_cast<WlhookWindow>(gone), wlhook::NotifyMessage, VK_F12) == 1,
              "hooked again for a window that is gone");
        const size_t before = notifications.size();
        const LONG releases = targetF12Releases();
        setText(SingleLineEdit, L"gone away");
        select(SingleLineEdit, 0, 4);
        focus(SingleLineEdit);
        sendHotKey();
        char text[16] = {};
        const bool stored = waitFor([&] {
            return api.getString(text, sizeof text) == wlhook::CaptureSelection && std::strcmp(text, "gone") == 0;
        });
        check(stored, "capture stored without a window to notify", text);
        // The target answers only once its hook procedure has returned.
        check(targetF12Releases() == releases, "key release consumed without a window to notify");
        check(notifications.size() == before, "no notification reached the host");
    }

    check(api.hook(reinterpret_cast<WlhookWindow>(host), wlhook::NotifyMessage, VK_F12) == 1, "hooked a third time");
    {
        char text[8] = "xxxxxxx";
        check(api.getString(text, sizeof text) == wlhook::CaptureNone && api.getStrLength() == 0 && text[0] == '\0',
              "a new hook clears the capture");
    }
    capture("capture after hooking again", SingleLineEdit, wlhook::CaptureSelection, "gone");

    check(api.unhook() != 0, "UnHookKeyHandler removes the hook");
    {
        const size_t before = notifications.size();
        const LONG releases = targetF12Releases();
        focus(SingleLineEdit);
        sendHotKey();
        check(waitFor([&] { return targetF12Releases() > releases; }), "after unhooking the key reaches the control");
        check(notifications.size() == before, "after unhooking nothing is captured");
    }
    check(api.unhook() == 0, "UnHookKeyHandler a second time answers 0");

    PostMessageW(target, WM_CLOSE, 0, 0);
    DestroyWindow(host);
    std::printf("%d failure(s)\n", failures);
    return failures ? 1 : 0;
}
