#pragma once
// CaptureFocusedText and its helpers: reading the focused control's text in
// the process that has the keyboard focus (the Windows hook procedure). The
// control, the clipboard and the code page are reached through the small
// interfaces below, so the whole procedure runs against fakes in tests.

#include "core/mbcs.h"
#include "core/shareddata.h"

#include <cstddef>
#include <cstdint>

namespace wlhook {

// The maker's editor's own messages (always sent in their ANSI form).
inline constexpr std::uint32_t EditorHasSelection = 1484; // nonzero when there is a selection
inline constexpr std::uint32_t EditorGetSelection = 1487; // writes the selection (capacity, buffer)
inline constexpr std::uint32_t EditorGetCaretText = 1488; // writes text, answers the offset to keep from

// Bits cleared while a caret-only capture widens the selection.
inline constexpr std::uint32_t SelectionChangeEvent = 0x80000; // ENM_SELCHANGE
inline constexpr std::uint32_t ScrollAndKeepOptions = 0x1C0;   // ECO_AUTOVSCROLL | ECO_AUTOHSCROLL | ECO_NOHIDESEL
// How far a caret-only capture widens the selection, in characters.
inline constexpr std::int32_t CaretWidening = 1024;

// The focused control, seen through the messages a capture sends to it.
class FocusedControl {
public:
    virtual ~FocusedControl() = default;
    // Writes the window class name, at most room - 1 characters and a NUL;
    // an empty name when it cannot be read.
    virtual void className(char *name, int room) = 0;
    virtual bool isUnicode() = 0;
    // Any message in its ANSI form (the maker's editor).
    virtual std::intptr_t sendAnsi(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    virtual void getSelection(std::int32_t &start, std::int32_t &end) = 0; // EM_GETSEL
    virtual void setSelection(std::int32_t start, std::int32_t end) = 0;   // EM_SETSEL
    virtual std::uint32_t eventMask() = 0;                                 // EM_GETEVENTMASK
    virtual void setEventMask(std::uint32_t mask) = 0;                     // EM_SETEVENTMASK
    virtual std::uint32_t options() = 0;                                   // EM_GETOPTIONS
    virtual void setOptions(std::uint32_t options) = 0;                    // EM_SETOPTIONS, replace
    virtual std::int32_t lineFromChar(std::int32_t charIndex) = 0;         // EM_LINEFROMCHAR
    virtual std::int32_t lineIndex(std::int32_t line) = 0;                 // EM_LINEINDEX
    virtual std::int32_t lineLength(std::int32_t charIndex) = 0;           // EM_LINELENGTH
    // EM_GETLINE: the buffer's first 16-bit word holds its size.
    virtual void getLine(std::int32_t line, void *buffer) = 0;
    // EM_GETSELTEXT: UTF-16 from a Unicode window, ANSI bytes otherwise.
    virtual void getSelectedText(void *buffer) = 0;
};

// The clipboard as CaptureFromClipboard uses it.
class ClipboardAccess {
public:
    virtual ~ClipboardAccess() = default;
    virtual bool open() = 0;
    // The clipboard's ANSI text and the size of the memory holding it, or
    // null when it holds no text. Stays valid until unlockText.
    virtual const char *lockText(std::size_t &size) = 0;
    virtual void unlockText() = 0;
    virtual void close() = 0;
};

// The system's ANSI code page.
struct AnsiCodePage {
    LeadByteTest isLeadByte = isCp932LeadByte;
    // Converts length UTF-16 units to at most capacity bytes; returns the
    // bytes written (no terminator is added). Characters the code page lacks
    // become its default character.
    std::size_t (*fromUtf16)(const char16_t *text, std::size_t length, char *dest, std::size_t capacity) = nullptr;
};

// Scratch memory: zero-filled blocks; allocate answers null when it fails.
struct Scratch {
    void *(*allocate)(std::size_t size);
    void (*release)(void *block);
};
Scratch heapScratch();

// CaptureFocusedText: fills CaptureBuffer and CaptureResult from the control
// (or the clipboard for an unrecognised class). A caret-only capture widens
// the selection and restores it, the options and the event mask before it
// returns.
void CaptureFocusedText(SharedData &data, FocusedControl &control, ClipboardAccess &clipboard,
                        const AnsiCodePage &codePage, const Scratch &scratch = heapScratch());

// CollectEditLines: the plain edit control's selected text, line by line,
// joined with nothing between the lines, into dest (capacity bytes, of which
// the last stays NUL). Returns the bytes gathered.
std::size_t CollectEditLines(FocusedControl &control, char *dest, std::size_t capacity, const AnsiCodePage &codePage,
                             const Scratch &scratch = heapScratch());

// CaptureFromClipboard: the clipboard's ANSI text (at most 1,023 bytes);
// CaptureResult is CaptureClipboard in every case.
void CaptureFromClipboard(SharedData &data, ClipboardAccess &clipboard);

} // namespace wlhook
