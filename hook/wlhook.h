#pragma once
// The Wlhook library's interface: five functions with C linkage that the
// program binds by name at start-up, and the numbers both sides agree on.
//
// Nothing is allocated across this boundary. The captured text, its result
// code and the caret position live in the library; the program copies them
// out with GetString, GetStrLength and GetScreenCaret after the library has
// notified its main window.
//
// The notification is window message `message` (1024) with both parameters
// zero on Windows; on X11 it is a format-32 ClientMessage of type
// wlhook::NotifyAtomName whose first value is `message`.

#include <stdint.h>

#if defined(_WIN32)
#define WLHOOK_CALL __stdcall
#else
#define WLHOOK_CALL
#endif

extern "C" {

// A window handle: the HWND on Windows, the X window id (QWidget::winId()) on X11.
typedef uintptr_t WlhookWindow;

// A point in screen coordinates, x then y.
typedef struct WlhookPoint {
    int32_t x;
    int32_t y;
} WlhookPoint;

// Clears the capture (result CaptureNone, empty text), remembers the window
// to notify, the message number and the hot key (a Windows virtual-key code;
// 112 to 123 are F1 to F12), and installs the keyboard hook. Returns 1 when
// the hook is installed, else 0. On Linux the hook needs an X11 session: in
// a Wayland session (WAYLAND_DISPLAY set, or XDG_SESSION_TYPE "wayland") it
// is not installed. On X11 the library reads other applications' text
// through the accessibility bus on a thread of its own. libatspi serves its
// direct connections to those applications on GLib's default main context,
// so the program must not run that context in its own event loop (a Qt
// program sets QT_NO_GLIB before it creates its application object):
// otherwise two threads serve one connection, and libdbus ends the program
// when an application the library read from quits.
int32_t WLHOOK_CALL HookKeyHandler(WlhookWindow window, uint32_t message, int32_t hotKey);

// Removes the hook. Returns nonzero on success, 0 when no hook was installed.
int32_t WLHOOK_CALL UnHookKeyHandler(void);

// Copies the captured text (code page 932 bytes) into buffer: at most length
// bytes; a shorter text is padded with NULs up to length, a text of length
// bytes or more fills the buffer without a terminator. Returns the result code.
int32_t WLHOOK_CALL GetString(char *buffer, int32_t length);

// The number of bytes of the captured text.
int32_t WLHOOK_CALL GetStrLength(void);

// The caret's screen position at the last capture.
void WLHOOK_CALL GetScreenCaret(WlhookPoint *point);

typedef int32_t(WLHOOK_CALL *HookKeyHandlerFunction)(WlhookWindow, uint32_t, int32_t);
typedef int32_t(WLHOOK_CALL *UnHookKeyHandlerFunction)(void);
typedef int32_t(WLHOOK_CALL *GetStringFunction)(char *, int32_t);
typedef int32_t(WLHOOK_CALL *GetStrLengthFunction)(void);
typedef void(WLHOOK_CALL *GetScreenCaretFunction)(WlhookPoint *);

} // extern "C"

namespace wlhook {

// The library's file name without prefix and suffix, for binding it by name.
inline constexpr const char *LibraryName = "Wlhook";

// The message number the program asks for: the first user-defined message.
inline constexpr uint32_t NotifyMessage = 1024;

// The X11 notification's message type (an atom of this name).
inline constexpr const char *NotifyAtomName = "WLHOOK_NOTIFY";

// Size of the capture buffer; the text keeps at most CaptureBufferSize - 1 bytes.
inline constexpr int CaptureBufferSize = 1024;

// The hot key before HookKeyHandler is called (F11), and the virtual-key
// code of F1: the program passes FirstFunctionKey - 1 + its key setting (1 to 12).
inline constexpr int32_t DefaultHotKey = 122;
inline constexpr int32_t FirstFunctionKey = 112;

// How the captured text was obtained (GetString's result).
enum CaptureResult : int32_t {
    CaptureNone = 0,      // nothing captured since the hook was installed
    CaptureFromCaret = 1, // no selection: the text from the caret onward
    CaptureSelection = 2, // the selected text
    CaptureClipboard = 3, // no text control recognised: the clipboard's text
};

} // namespace wlhook
