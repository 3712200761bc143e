#pragma once
// The wide caret that low-vision users follow: its size from the box's font
// size (points used as pixels), the character under it and whether a range
// is selected.

#include <QSize>

// A character of one byte in Shift-JIS (half-width letters, digits, signs,
// half-width katakana, and characters the code page cannot hold).
bool isSingleByteCharacter(char32_t ch);

// Nearest whole number, halves to the even one.
int roundHalfEven(double value);

// Selection: `defaultWidth` wide, 1.4 x size high. Otherwise as high as
// `heightFactor` x size, and 1.35 x size wide, or half that (rounded down
// after adding a half) over a single-byte character.
QSize wideCaretSize(double fontSize, bool selection, bool singleByte, double heightFactor, int defaultWidth);
