// The other application of the Windows hook test: one window with the kinds
// of control a capture meets. The host fills the controls with messages,
// asks for the focus with FocusControl and counts the F12 releases that got
// through with F12ReleaseCount.

#include "wintarget.h"

#include <richedit.h>

namespace {

LONG f12Releases = 0;

LRESULT CALLBACK targetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case wintest::FocusControl: {
        const HWND control = GetDlgItem(window, static_cast<int>(wParam));
        SetForegroundWindow(window);
        SetActiveWindow(window);
        SetFocus(control);
        return GetFocus() == control ? 1 : 0;
    }
    case wintest::F12ReleaseCount: return f12Releases;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int main()
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    LoadLibraryW(L"riched20.dll");

    WNDCLASSW wc{};
    wc.lpfnWndProc = targetProc;
    wc.hInstance = instance;
    wc.lpszClassName = wintest::TargetClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
    const HWND window = CreateWindowExW(0, wintest::TargetClass, L"Wlhook test target", WS_OVERLAPPEDWINDOW, 40, 40,
                                        640, 480, nullptr, nullptr, instance, nullptr);

    const DWORD child = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP;
    const auto id = [](int n) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(n)); };
    CreateWindowExW(0, L"Edit", L"", child | ES_AUTOHSCROLL, 10, 10, 300, 24, window, id(wintest::SingleLineEdit),
                    instance, nullptr);
    CreateWindowExW(0, L"Edit", L"", child | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 10, 44, 300, 80, window,
                    id(wintest::MultiLineEdit), instance, nullptr);
    const HWND rich = CreateWindowExW(0, L"RichEdit20W", L"", child | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 10,
                                      134, 300, 80, window, id(wintest::RichEdit), instance, nullptr);
    const HWND list = CreateWindowExW(0, L"ListBox", L"", child | LBS_NOTIFY, 10, 224, 300, 80, window,
                                      id(wintest::ListBox), instance, nullptr);
    CreateWindowExA(0, "Edit", "", child | ES_AUTOHSCROLL, 10, 314, 300, 24, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(wintest::AnsiEdit)), instance, nullptr);
    SendMessageW(rich, EM_SETEVENTMASK, 0, wintest::RichEventMask);
    SendMessageW(rich, EM_SETOPTIONS, ECOOP_SET, wintest::RichOptions);
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"first item"));
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"second item"));

    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_KEYUP && msg.wParam == VK_F12)
            ++f12Releases;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
