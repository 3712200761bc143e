#pragma once
// Byte-level work on text in the ANSI code page, where a lead byte and the
// byte after it form one character.

#include <cstddef>

namespace wlhook {

using LeadByteTest = bool (*)(unsigned char);

// Lead bytes of code page 932 (Shift-JIS).
bool isCp932LeadByte(unsigned char b);

// CopyMbcsRange: copies line[first..end) to dest; a lead byte is copied with
// the byte after it, even when that trail byte lies at `end`. Never reads at
// or past lineLength and never writes more than capacity bytes including the
// terminating NUL. Returns the bytes copied, not counting the NUL.
std::size_t CopyMbcsRange(const char *line, std::size_t lineLength, std::size_t first, std::size_t end, char *dest,
                          std::size_t capacity, LeadByteTest isLeadByte);

// Cuts the NUL-terminated text at its first carriage return, stepping over
// both bytes of a double-byte character. Returns the new length.
std::size_t cutAtFirstCarriageReturn(char *text, LeadByteTest isLeadByte);

} // namespace wlhook
