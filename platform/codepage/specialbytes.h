#pragma once
// Single bytes that code page 932 leaves without a character and that the
// platform conversion maps to fixed characters (0xFE to SpeechEndMarker).

namespace codepage {
char16_t specialByteToChar(unsigned char b); // 0 when b is not special
int specialCharToByte(char32_t ch);          // -1 when ch is not special
} // namespace codepage
