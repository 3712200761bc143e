// Code page 932 through the Windows conversion functions.

#include "codepage/codepage.h"
#include "codepage/specialbytes.h"

#include <windows.h>

namespace codepage {

Decoded fromCp932(QByteArrayView bytes)
{
    Decoded d;
    d.text.reserve(bytes.size());
    qsizetype i = 0;
    while (i < bytes.size()) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        const int len = isLeadByte(b) ? 2 : 1;
        wchar_t out[2];
        const int n = (i + len <= bytes.size())
                          ? MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data() + i, len, out, 2)
                          : 0;
        if (n == 1) {
            d.text.append(QChar(char16_t(out[0])));
        } else if (const char16_t special = len == 1 ? specialByteToChar(b) : 0) {
            d.text.append(QChar(special));
        } else {
            if (d.badOffset < 0)
                d.badOffset = i;
            ++d.badCount;
            d.text.append(QChar(0xFFFD));
            i += 1;
            continue;
        }
        i += len;
    }
    return d;
}

Encoded toCp932(QStringView text)
{
    Encoded e;
    e.bytes.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        qsizetype units = 1;
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            units = 2;
        char out[4];
        BOOL usedDefault = FALSE;
        const int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, reinterpret_cast<LPCWCH>(text.utf16() + i),
                                          int(units), out, sizeof out, nullptr, &usedDefault);
        const int special = specialCharToByte(unit);
        if (special >= 0) {
            e.bytes.append(char(special));
        } else if (n > 0 && !usedDefault) {
            e.bytes.append(out, n);
        } else {
            if (e.badIndex < 0)
                e.badIndex = i;
            ++e.badCount;
            e.bytes.append('?');
        }
        i += units - 1;
    }
    return e;
}

} // namespace codepage
