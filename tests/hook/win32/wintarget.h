#pragma once
// What the Windows test host and target agree on: the target's window
// class, its controls and the messages the host sends it.

#include <windows.h>

namespace wintest {

inline constexpr wchar_t TargetClass[] = L"WlhookTestTarget";
inline constexpr wchar_t HostClass[] = L"WlhookTestHost";

// Controls of the target window.
enum Control : int {
    SingleLineEdit = 1,
    MultiLineEdit = 2,
    RichEdit = 3,
    ListBox = 4,
    AnsiEdit = 5,
};

// Rich edit state the target sets up; a capture must leave it so.
inline constexpr LPARAM RichEventMask = 0x80001; // ENM_SELCHANGE | ENM_CHANGE
inline constexpr LPARAM RichOptions = 0x1C0;     // ECO_AUTOVSCROLL | ECO_AUTOHSCROLL | ECO_NOHIDESEL

// Host to target: bring the window forward and focus control wParam;
// answers 1 when the control has the focus.
inline constexpr UINT FocusControl = WM_APP + 1;
// Host to target: how many releases of F12 reached the target's windows.
inline constexpr UINT F12ReleaseCount = WM_APP + 2;

} // namespace wintest
