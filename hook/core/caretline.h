#pragma once
// The text from the caret to the end of its line, as the X11 backend takes
// it from an accessible text (UTF-8).

#include <cstddef>
#include <string_view>

namespace wlhook {

// Most characters a caret-only capture takes.
inline constexpr std::size_t CaretLineCharacters = 1024;

// Bytes of the UTF-8 character at text[at]: its lead byte and the
// continuation bytes that follow it (1 for a stray or invalid byte).
std::size_t utf8CharacterLength(std::string_view text, std::size_t at);

// Length in bytes of the start of `text` up to its first line break (LF, CR,
// U+2028 or U+2029), at most maxCharacters characters. A character cut off
// by the end of `text` counts as one.
std::size_t lineLengthFromCaret(std::string_view text, std::size_t maxCharacters = CaretLineCharacters);

} // namespace wlhook
