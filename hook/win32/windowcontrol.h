#pragma once
// The capture core's view of Windows: the focused control reached through
// its edit and rich-edit messages, the clipboard, and the ANSI code page.
// Used inside the hook procedure, in the process that owns the control.

#include "core/capture.h"

#include <windows.h>

namespace wlhook {

class WindowControl : public FocusedControl {
public:
    explicit WindowControl(HWND window);

    void className(char *name, int room) override;
    bool isUnicode() override { return unicode_; }
    std::intptr_t sendAnsi(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void getSelection(std::int32_t &start, std::int32_t &end) override;
    void setSelection(std::int32_t start, std::int32_t end) override;
    std::uint32_t eventMask() override;
    void setEventMask(std::uint32_t mask) override;
    std::uint32_t options() override;
    void setOptions(std::uint32_t options) override;
    std::int32_t lineFromChar(std::int32_t charIndex) override;
    std::int32_t lineIndex(std::int32_t line) override;
    std::int32_t lineLength(std::int32_t charIndex) override;
    void getLine(std::int32_t line, void *buffer) override;
    void getSelectedText(void *buffer) override;

private:
    LRESULT send(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_;
    bool unicode_;
};

class WindowsClipboard : public ClipboardAccess {
public:
    bool open() override;
    const char *lockText(std::size_t &size) override;
    void unlockText() override;
    void close() override;

private:
    HANDLE data_ = nullptr;
};

// The system ANSI code page: IsDBCSLeadByte and WideCharToMultiByte.
AnsiCodePage systemCodePage();

} // namespace wlhook
