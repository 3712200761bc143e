#include "core/capture.h"

#include "core/editclass.h"

#include <cstdlib>
#include <cstring>

namespace wlhook {
namespace {

void *zeroedHeapBlock(std::size_t size)
{
    return std::calloc(1, size);
}

void releaseHeapBlock(void *block)
{
    std::free(block);
}

// Owns one scratch block for the length of a scope.
class ScratchBlock {
public:
    ScratchBlock(const Scratch &scratch, std::size_t size)
        : scratch_(scratch), block_(static_cast<char *>(scratch.allocate(size))), size_(block_ ? size : 0)
    {
    }
    ~ScratchBlock()
    {
        if (block_)
            scratch_.release(block_);
    }
    ScratchBlock(const ScratchBlock &) = delete;
    ScratchBlock &operator=(const ScratchBlock &) = delete;
    char *data() const { return block_; }
    std::size_t size() const { return size_; }

private:
    const Scratch &scratch_;
    char *block_;
    std::size_t size_;
};

std::int32_t clampColumn(std::int64_t column, std::int32_t length)
{
    return column < 0 ? 0 : column > length ? length : static_cast<std::int32_t>(column);
}

void captureFromMakersEditor(SharedData &data, FocusedControl &control)
{
    const auto buffer = reinterpret_cast<std::intptr_t>(data.CaptureBuffer);
    const std::uintptr_t capacity = CaptureBufferSize - 1;
    if (control.sendAnsi(EditorHasSelection, 0, 0) != 0) {
        control.sendAnsi(EditorGetSelection, capacity, buffer);
        data.CaptureBuffer[CaptureBufferSize - 1] = '\0';
        data.CaptureResult = CaptureSelection;
        return;
    }
    const std::intptr_t offset = control.sendAnsi(EditorGetCaretText, capacity, buffer);
    data.CaptureBuffer[CaptureBufferSize - 1] = '\0';
    keepFromOffset(data, offset);
    data.CaptureResult = CaptureFromCaret;
}

// The selected text of a rich edit control, first line only.
void readRichEditSelection(FocusedControl &control, const ScratchBlock &text, const AnsiCodePage &codePage,
                           const Scratch &scratch)
{
    if (control.isUnicode()) {
        ScratchBlock wide(scratch, text.size());
        if (!wide.data())
            return;
        control.getSelectedText(wide.data());
        const auto *units = reinterpret_cast<const char16_t *>(wide.data());
        const std::size_t maxUnits = wide.size() / sizeof(char16_t);
        std::size_t length = 0;
        while (length < maxUnits && units[length] != 0)
            ++length;
        if (codePage.fromUtf16)
            codePage.fromUtf16(units, length, text.data(), text.size() - 1);
    } else {
        control.getSelectedText(text.data());
    }
    text.data()[text.size() - 1] = '\0';
    cutAtFirstCarriageReturn(text.data(), codePage.isLeadByte);
}

void captureFromStandardControl(SharedData &data, FocusedControl &control, int index, const AnsiCodePage &codePage,
                                const Scratch &scratch)
{
    std::int32_t start = 0;
    std::int32_t end = 0;
    control.getSelection(start, end);

    std::int64_t count;
    bool widened = false;
    std::uint32_t savedEventMask = 0;
    std::uint32_t savedOptions = 0;
    if (start == end) {
        count = CaretWidening;
        savedEventMask = control.eventMask();
        control.setEventMask(savedEventMask & ~SelectionChangeEvent);
        savedOptions = control.options();
        control.setOptions(savedOptions & ~ScrollAndKeepOptions);
        control.setSelection(start, end + CaretWidening);
        widened = true;
        data.CaptureResult = CaptureFromCaret;
    } else {
        count = static_cast<std::int64_t>(end) - start;
        count = (count < 0 ? -count : count) + 1;
        data.CaptureResult = CaptureSelection;
    }

    {
        ScratchBlock text(scratch, static_cast<std::size_t>(2 * count + 4));
        if (text.data()) {
            if (index == PlainEditClass)
                CollectEditLines(control, text.data(), static_cast<std::size_t>(2 * count), codePage, scratch);
            else
                readRichEditSelection(control, text, codePage, scratch);
        }

        if (widened) {
            control.setSelection(start, end);
            control.setOptions(savedOptions);
            control.setEventMask(savedEventMask);
        }

        if (text.data() && text.data()[0] != '\0')
            storeText(data, text.data(), text.size());
    }
}

} // namespace

Scratch heapScratch()
{
    return Scratch{zeroedHeapBlock, releaseHeapBlock};
}

void CaptureFocusedText(SharedData &data, FocusedControl &control, ClipboardAccess &clipboard,
                        const AnsiCodePage &codePage, const Scratch &scratch)
{
    char name[ClassNameRoom] = {};
    control.className(name, ClassNameRoom);
    name[ClassNameRoom - 1] = '\0';
    const int index = editClassIndex(name);
    if (isMakersEditorClass(index))
        captureFromMakersEditor(data, control);
    else if (isStandardControlClass(index))
        captureFromStandardControl(data, control, index, codePage, scratch);
    else
        CaptureFromClipboard(data, clipboard);
}

std::size_t CollectEditLines(FocusedControl &control, char *dest, std::size_t capacity, const AnsiCodePage &codePage,
                             const Scratch &scratch)
{
    if (!dest || capacity == 0)
        return 0;
    std::int32_t start = 0;
    std::int32_t end = 0;
    control.getSelection(start, end);
    const std::int32_t startLine = control.lineFromChar(start);
    const std::int32_t endLine = control.lineFromChar(end);
    const std::int64_t startColumn = static_cast<std::int64_t>(start) - control.lineIndex(startLine);
    const std::int64_t endColumn = static_cast<std::int64_t>(end) - control.lineIndex(endLine);

    std::memset(dest, 0, capacity);
    const bool unicode = control.isUnicode();
    std::size_t used = 0;
    for (std::int32_t line = startLine; line <= endLine; ++line) {
        const std::int32_t length = control.lineLength(control.lineIndex(line));
        if (length < 0)
            continue;
        const std::size_t size = 2 * static_cast<std::size_t>(length) + 4;
        ScratchBlock text(scratch, size);
        if (!text.data())
            break;
        if (length == 0)
            continue;
        // The line-copy message reads the buffer's size from its first word.
        const std::uint16_t word = size > 0xFFFF ? 0xFFFF : static_cast<std::uint16_t>(size);
        std::memcpy(text.data(), &word, sizeof word);
        control.getLine(line, text.data());

        const std::int32_t from = line == startLine ? clampColumn(startColumn, length) : 0;
        const std::int32_t to = line == endLine ? clampColumn(endColumn, length) : length;
        if (to <= from)
            continue;
        const std::size_t room = capacity - 1 - used;
        if (unicode) {
            if (codePage.fromUtf16)
                used += codePage.fromUtf16(reinterpret_cast<const char16_t *>(text.data()) + from,
                                           static_cast<std::size_t>(to - from), dest + used, room);
        } else {
            used += CopyMbcsRange(text.data(), static_cast<std::size_t>(length), static_cast<std::size_t>(from),
                                  static_cast<std::size_t>(to), dest + used, room + 1, codePage.isLeadByte);
        }
        if (used >= capacity - 1)
            break;
    }
    dest[used < capacity ? used : capacity - 1] = '\0';
    return used;
}

void CaptureFromClipboard(SharedData &data, ClipboardAccess &clipboard)
{
    if (clipboard.open()) {
        std::size_t size = 0;
        if (const char *text = clipboard.lockText(size)) {
            storeText(data, text, size);
            clipboard.unlockText();
        }
        clipboard.close();
    }
    data.CaptureResult = CaptureClipboard;
}

} // namespace wlhook
