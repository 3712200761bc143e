#include "windowcontrol.h"

#include <richedit.h>

namespace wlhook {

WindowControl::WindowControl(HWND window) : window_(window), unicode_(window && IsWindowUnicode(window))
{
}

LRESULT WindowControl::send(UINT message, WPARAM wParam, LPARAM lParam)
{
    return unicode_ ? SendMessageW(window_, message, wParam, lParam) : SendMessageA(window_, message, wParam, lParam);
}

void WindowControl::className(char *name, int room)
{
    name[0] = '\0';
    if (window_ && GetClassNameA(window_, name, room) <= 0)
        name[0] = '\0';
}

std::intptr_t WindowControl::sendAnsi(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)
{
    return SendMessageA(window_, message, wParam, lParam);
}

void WindowControl::getSelection(std::int32_t &start, std::int32_t &end)
{
    DWORD from = 0;
    DWORD to = 0;
    send(EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    start = static_cast<std::int32_t>(from);
    end = static_cast<std::int32_t>(to);
}

void WindowControl::setSelection(std::int32_t start, std::int32_t end)
{
    send(EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

std::uint32_t WindowControl::eventMask()
{
    return static_cast<std::uint32_t>(send(EM_GETEVENTMASK, 0, 0));
}

void WindowControl::setEventMask(std::uint32_t mask)
{
    send(EM_SETEVENTMASK, 0, static_cast<LPARAM>(mask));
}

std::uint32_t WindowControl::options()
{
    return static_cast<std::uint32_t>(send(EM_GETOPTIONS, 0, 0));
}

void WindowControl::setOptions(std::uint32_t options)
{
    send(EM_SETOPTIONS, ECOOP_SET, static_cast<LPARAM>(options));
}

std::int32_t WindowControl::lineFromChar(std::int32_t charIndex)
{
    return static_cast<std::int32_t>(send(EM_LINEFROMCHAR, static_cast<WPARAM>(charIndex), 0));
}

std::int32_t WindowControl::lineIndex(std::int32_t line)
{
    return static_cast<std::int32_t>(send(EM_LINEINDEX, static_cast<WPARAM>(line), 0));
}

std::int32_t WindowControl::lineLength(std::int32_t charIndex)
{
    return static_cast<std::int32_t>(send(EM_LINELENGTH, static_cast<WPARAM>(charIndex), 0));
}

void WindowControl::getLine(std::int32_t line, void *buffer)
{
    send(EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(buffer));
}

void WindowControl::getSelectedText(void *buffer)
{
    send(EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buffer));
}

bool WindowsClipboard::open()
{
    return OpenClipboard(GetClipboardOwner()) != FALSE;
}

const char *WindowsClipboard::lockText(std::size_t &size)
{
    if (!IsClipboardFormatAvailable(CF_TEXT))
        return nullptr;
    data_ = GetClipboardData(CF_TEXT);
    if (!data_)
        return nullptr;
    const char *text = static_cast<const char *>(GlobalLock(data_));
    if (!text) {
        data_ = nullptr;
        return nullptr;
    }
    size = GlobalSize(data_);
    return text;
}

void WindowsClipboard::unlockText()
{
    if (data_)
        GlobalUnlock(data_);
    data_ = nullptr;
}

void WindowsClipboard::close()
{
    CloseClipboard();
}

namespace {

bool systemLeadByte(unsigned char b)
{
    return IsDBCSLeadByte(b) != FALSE;
}

std::size_t fromUtf16(const char16_t *text, std::size_t length, char *dest, std::size_t capacity)
{
    if (length == 0 || capacity == 0)
        return 0;
    const auto *wide = reinterpret_cast<const wchar_t *>(text);
    const int room = capacity > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(capacity);
    const int n = length > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(length);
    const int written = WideCharToMultiByte(CP_ACP, 0, wide, n, dest, room, nullptr, nullptr);
    if (written > 0)
        return static_cast<std::size_t>(written);
    // Too little room for all of it: as many whole characters as fit.
    std::size_t used = 0;
    char one[8];
    for (int i = 0; i < n;) {
        const int units = (IS_HIGH_SURROGATE(wide[i]) && i + 1 < n && IS_LOW_SURROGATE(wide[i + 1])) ? 2 : 1;
        const int bytes = WideCharToMultiByte(CP_ACP, 0, wide + i, units, one, sizeof one, nullptr, nullptr);
        if (bytes <= 0 || used + static_cast<std::size_t>(bytes) > capacity)
            break;
        for (int k = 0; k < bytes; ++k)
            dest[used++] = one[k];
        i += units;
    }
    return used;
}

} // namespace

AnsiCodePage systemCodePage()
{
    AnsiCodePage cp;
    cp.isLeadByte = systemLeadByte;
    cp.fromUtf16 = fromUtf16;
    return cp;
}

} // namespace wlhook
