#include "core/caretline.h"

namespace wlhook {
namespace {

bool isLineBreak(std::string_view character)
{
    return character == "\n" || character == "\r" || character == "\u2028" || character == "\u2029";
}

} // namespace

std::size_t utf8CharacterLength(std::string_view text, std::size_t at)
{
    const unsigned char b = static_cast<unsigned char>(text[at]);
    const std::size_t expected = b >= 0xF0 && b <= 0xF4   ? 4
                                 : b >= 0xE0 && b <= 0xEF ? 3
                                 : b >= 0xC2 && b <= 0xDF ? 2
                                                          : 1;
    std::size_t width = 1;
    while (width < expected && at + width < text.size() &&
           (static_cast<unsigned char>(text[at + width]) & 0xC0) == 0x80)
        ++width;
    return width;
}

std::size_t lineLengthFromCaret(std::string_view text, std::size_t maxCharacters)
{
    std::size_t at = 0;
    for (std::size_t characters = 0; characters < maxCharacters && at < text.size(); ++characters) {
        const std::size_t width = utf8CharacterLength(text, at);
        if (isLineBreak(text.substr(at, width)))
            break;
        at += width;
    }
    return at;
}

} // namespace wlhook
