#include "core/mbcs.h"

namespace wlhook {

bool isCp932LeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::size_t CopyMbcsRange(const char *line, std::size_t lineLength, std::size_t first, std::size_t end, char *dest,
                          std::size_t capacity, LeadByteTest isLeadByte)
{
    if (!dest || capacity == 0)
        return 0;
    if (end > lineLength)
        end = lineLength;
    std::size_t written = 0;
    for (std::size_t i = first; i < end;) {
        const bool pair = isLeadByte(static_cast<unsigned char>(line[i])) && i + 1 < lineLength;
        const std::size_t width = pair ? 2 : 1;
        if (written + width > capacity - 1)
            break;
        for (std::size_t k = 0; k < width; ++k)
            dest[written++] = line[i + k];
        i += width;
    }
    dest[written] = '\0';
    return written;
}

std::size_t cutAtFirstCarriageReturn(char *text, LeadByteTest isLeadByte)
{
    std::size_t i = 0;
    while (text[i] != '\0') {
        if (text[i] == '\r') {
            text[i] = '\0';
            break;
        }
        if (isLeadByte(static_cast<unsigned char>(text[i])) && text[i + 1] != '\0')
            i += 2;
        else
            ++i;
    }
    return i;
}

} // namespace wlhook
