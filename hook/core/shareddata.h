#pragma once
// The data the library shares with the program: one copy for every process
// that maps the library (a shared data section on Windows; on X11 the one
// process that installed the hook). The operations below are what the
// exported functions do with it, free of any platform call.

#include "wlhook.h"

#include <cstddef>
#include <cstdint>

namespace wlhook {

struct SharedData {
    std::uintptr_t HookHandle;             // the installed hook; 0 before installation
    std::uintptr_t TargetWindow;           // the window notified after each capture
    char CaptureBuffer[CaptureBufferSize]; // the captured text, code page 932, NUL-terminated
    std::uint32_t NotifyMessage;           // the message number sent to TargetWindow
    std::int32_t HotKey;                   // virtual-key code that triggers a capture with Ctrl+Shift
    std::int32_t CaptureResult;            // how CaptureBuffer was filled (CaptureResult)
    WlhookPoint CaretPoint;                // screen position of the caret at the last capture
    std::uint32_t HookOwnerPid;            // process that installed the hook
};

// The values when the library is first loaded: all zero but the hot key (F11).
constexpr SharedData initialSharedData()
{
    return SharedData{0, 0, {}, 0, DefaultHotKey, CaptureNone, {0, 0}, 0};
}

// HookKeyHandler's bookkeeping before it installs the hook: clears the
// capture and records who installed the hook and what to send to whom.
void beginHook(SharedData &data, std::uintptr_t window, std::uint32_t message, std::int32_t hotKey,
               std::uint32_t ownerPid);

// Clears CaptureBuffer to all NULs.
void clearCapture(SharedData &data);

// Replaces CaptureBuffer with text: copies up to its first NUL or `length`
// bytes, whichever comes first, keeps at most CaptureBufferSize - 1 bytes
// (cut on bytes, not characters) and terminates it.
void storeText(SharedData &data, const char *text, std::size_t length);

// The maker's editor wrote text into CaptureBuffer and answered the offset
// from which the text to keep starts: moves that text to the start. An
// offset outside the buffer leaves it empty.
void keepFromOffset(SharedData &data, std::intptr_t offset);

// GetString: bounded copy into the caller's buffer (no terminator when the
// text fills `length`); returns CaptureResult. Nothing is written when the
// buffer is null or the length is not positive.
std::int32_t copyCaptureTo(const SharedData &data, char *buffer, std::int32_t length);

// GetStrLength: the bytes of text before the first NUL.
std::int32_t capturedLength(const SharedData &data);

// GetScreenCaret: writes CaretPoint (nothing when point is null).
void copyCaretTo(const SharedData &data, WlhookPoint *point);

// The test of the hook procedure: a release of the hot key with both Ctrl
// and Shift down, outside the process that installed the hook. Other
// modifier keys are not examined.
bool isCaptureKey(const SharedData &data, bool released, std::uint32_t processId, bool ctrlDown, bool shiftDown,
                  std::int32_t virtualKey);

} // namespace wlhook
