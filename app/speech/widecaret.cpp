#include "speech/widecaret.h"

#include "codepage/codepage.h"

#include <cfenv>
#include <cmath>

bool isSingleByteCharacter(char32_t ch)
{
    const int code = codepage::cp932Code(ch);
    return code <= 0xFF; // also -1: written as the single byte '?'
}

int roundHalfEven(double value)
{
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    std::fesetround(saved);
    return int(r);
}

QSize wideCaretSize(double fontSize, bool selection, bool singleByte, double heightFactor, int defaultWidth)
{
    if (selection)
        return QSize(defaultWidth, roundHalfEven(1.4 * fontSize));
    const int height = roundHalfEven(heightFactor * fontSize);
    const int width = singleByte ? int(std::floor(1.35 * fontSize / 2 + 0.5)) : roundHalfEven(1.35 * fontSize);
    return QSize(width, height);
}
