// The hook's copy routines: CopyMbcsRange with a range and capacity taken
// from the input, the cut at the first carriage return and the caret line's
// length, over arbitrary bytes.
#include "core/caretline.h"
#include "core/mbcs.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return 0;
    const std::size_t first = data[0], end = data[1], capacity = std::size_t(data[2]) + 1;
    const char *line = reinterpret_cast<const char *>(data + 3);
    const std::size_t length = size - 3;
    // Exactly the line's bytes and the capacity, so the sanitizer sees any
    // access beyond them.
    std::vector<char> copy(line, line + length);
    std::vector<char> dest(capacity);
    const std::size_t n =
        wlhook::CopyMbcsRange(copy.data(), copy.size(), first, end, dest.data(), capacity, wlhook::isCp932LeadByte);
    if (n >= capacity || dest[n] != '\0')
        __builtin_trap();
    std::vector<char> text(line, line + length);
    text.push_back('\0');
    wlhook::cutAtFirstCarriageReturn(text.data(), wlhook::isCp932LeadByte);
    wlhook::lineLengthFromCaret(std::string_view(line, length));
    return 0;
}
