#pragma once
// UTF-8 to code page 932, the encoding of the capture buffer, as Windows
// converts a Unicode control's text: characters the code page lacks become
// its default character '?'.

#include <string>
#include <string_view>

namespace wlhook::x11 {

// Converts text; invalid UTF-8 bytes also become '?'. Stops once the result
// holds maxBytes bytes or more (the buffer keeps fewer anyway).
std::string utf8ToCp932(std::string_view text, std::size_t maxBytes = 4096);

} // namespace wlhook::x11
