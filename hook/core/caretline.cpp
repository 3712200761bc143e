#include "core/caretline.h"

namespace wlhook {
namespace {

// Bytes of the UTF-8 sequence that starts with b (1 for a stray byte).
std::size_t sequenceLength(unsigned char b)
{
    if (b >= 0xF0 && b <= 0xF7)
        return 4;
    if (b >= 0xE0)
        return b <= 0xEF ? 3 : 1;
    if (b >= 0xC0)
        return 2;
    return 1;
}

bool isLineBreak(std::string_view character)
{
    return character == "\n" || character == "\r" || character == "\u2028" || character == "\u2029";
}

} // namespace

std::size_t lineLengthFromCaret(std::string_view text, std::size_t maxCharacters)
{
    std::size_t at = 0;
    for (std::size_t characters = 0; characters < maxCharacters && at < text.size(); ++characters) {
        std::size_t width = sequenceLength(static_cast<unsigned char>(text[at]));
        if (at + width > text.size())
            width = text.size() - at;
        if (isLineBreak(text.substr(at, width)))
            break;
        at += width;
    }
    return at;
}

} // namespace wlhook
