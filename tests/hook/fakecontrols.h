#pragma once
// Fakes of a focused edit control and of the clipboard, behaving as the
// Windows controls do for the messages a capture sends: character indexes
// count a line break (CR LF in a plain edit, CR in a rich edit) like any
// character, the selection is clamped to the text, EM_GETLINE copies at
// most the count in the buffer's first word and adds no terminator.

#include "core/capture.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstring>
#include <vector>

class FakeControl : public wlhook::FocusedControl {
public:
    // Unicode windows hold UTF-16 text; ANSI windows hold code page 932 bytes.
    FakeControl(QByteArray className, bool unicode, const QString &text);

    void select(std::int32_t start, std::int32_t end)
    {
        selStart = start;
        selEnd = end;
    }

    // Every message that changes the control, in order: "sel a b",
    // "options x", "mask x" (hexadecimal).
    QStringList changes;
    std::int32_t selStart = 0;
    std::int32_t selEnd = 0;
    std::uint32_t mask = 0x80001;
    std::uint32_t opts = 0x1C8;
    // The maker's editor: its selection, and its caret text with the offset it answers.
    bool editorHasSelection = false;
    QByteArray editorSelection;
    QByteArray editorCaretText;
    std::intptr_t editorOffset = 0;

    void className(char *name, int room) override;
    bool isUnicode() override { return unicode_; }
    std::intptr_t sendAnsi(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void getSelection(std::int32_t &start, std::int32_t &end) override
    {
        start = selStart;
        end = selEnd;
    }
    void setSelection(std::int32_t start, std::int32_t end) override;
    std::uint32_t eventMask() override { return mask; }
    void setEventMask(std::uint32_t m) override;
    std::uint32_t options() override { return opts; }
    void setOptions(std::uint32_t o) override;
    std::int32_t lineFromChar(std::int32_t charIndex) override;
    std::int32_t lineIndex(std::int32_t line) override;
    std::int32_t lineLength(std::int32_t charIndex) override;
    void getLine(std::int32_t line, void *buffer) override;
    void getSelectedText(void *buffer) override;

private:
    std::int32_t size() const;
    std::int32_t breakWidth() const { return rich_ ? 1 : 2; }

    QByteArray class_;
    bool unicode_;
    bool rich_;
    std::vector<std::u16string> wideLines_;
    std::vector<QByteArray> ansiLines_;
};

class FakeClipboard : public wlhook::ClipboardAccess {
public:
    bool opens = true;
    bool hasText = true;
    QByteArray text; // stored with its terminator, as the clipboard holds it
    int openCount = 0;
    int closeCount = 0;
    int locked = 0;

    bool open() override
    {
        ++openCount;
        return opens;
    }
    const char *lockText(std::size_t &size) override
    {
        if (!hasText)
            return nullptr;
        ++locked;
        size = static_cast<std::size_t>(text.size()) + 1;
        return text.constData();
    }
    void unlockText() override { --locked; }
    void close() override { ++closeCount; }
};

// Code page 932 through the program's own conversions.
wlhook::AnsiCodePage cp932ForTests();
