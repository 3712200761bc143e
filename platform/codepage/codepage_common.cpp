// The parts of the code-page conversion that do not depend on the platform.

#include "codepage/codepage.h"
#include "codepage/specialbytes.h"

namespace codepage {

char16_t specialByteToChar(unsigned char b)
{
    switch (b) {
    case 0x80: return 0x0080;
    case 0xA0: return 0xF8F0;
    case 0xFD: return 0xF8F1;
    case 0xFE: return SpeechEndMarker;
    case 0xFF: return 0xF8F3;
    default: return 0;
    }
}

int specialCharToByte(char32_t ch)
{
    switch (ch) {
    case 0x0080: return 0x80;
    case 0xF8F0: return 0xA0;
    case 0xF8F1: return 0xFD;
    case 0xF8F2: return 0xFE;
    case 0xF8F3: return 0xFF;
    default: return -1;
    }
}

int cp932Code(char32_t ch)
{
    char16_t units[2];
    qsizetype n = 1;
    if (ch > 0xFFFF) {
        if (ch > 0x10FFFF)
            return -1;
        units[0] = QChar::highSurrogate(ch);
        units[1] = QChar::lowSurrogate(ch);
        n = 2;
    } else {
        units[0] = char16_t(ch);
    }
    const Encoded e = toCp932(QStringView(units, n));
    if (!e.ok())
        return -1;
    if (e.bytes.size() == 1)
        return static_cast<unsigned char>(e.bytes[0]);
    if (e.bytes.size() == 2)
        return static_cast<unsigned char>(e.bytes[0]) * 256 + static_cast<unsigned char>(e.bytes[1]);
    return -1;
}

qsizetype safeCut(QByteArrayView bytes, qsizetype limit)
{
    if (limit <= 0)
        return 0;
    if (bytes.size() <= limit)
        return bytes.size();
    qsizetype i = 0;
    while (i < limit) {
        const qsizetype step = isLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        if (i + step > limit)
            break;
        i += step;
    }
    return i;
}

} // namespace codepage
