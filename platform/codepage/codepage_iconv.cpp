// Code page 932 through the C library's iconv. The two conversion
// descriptors are opened once per thread and reused.

#include "codepage/codepage.h"
#include "codepage/specialbytes.h"

#include <cerrno>
#include <iconv.h>

namespace codepage {
namespace {

class Converter {
public:
    Converter(const char *to, const char *from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(cd_);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    void reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }
    // Converts as much as it can; returns the errno of the stop, 0 when done.
    int run(const char *&in, size_t &inLeft, char *&out, size_t &outLeft)
    {
        char *src = const_cast<char *>(in);
        const size_t r = iconv(cd_, &src, &inLeft, &out, &outLeft);
        in = src;
        return r == static_cast<size_t>(-1) ? errno : 0;
    }

private:
    iconv_t cd_;
};

Converter &decoder()
{
    thread_local Converter c("UTF-16LE", "CP932");
    return c;
}

Converter &encoder()
{
    thread_local Converter c("CP932", "UTF-16LE");
    return c;
}

bool isAscii(QByteArrayView bytes)
{
    for (char b : bytes)
        if (static_cast<unsigned char>(b) >= 0x80)
            return false;
    return true;
}

} // namespace

Decoded fromCp932(QByteArrayView bytes)
{
    Decoded d;
    if (isAscii(bytes)) {
        d.text = QString::fromLatin1(bytes.data(), bytes.size());
        return d;
    }
    Converter &cv = decoder();
    d.text.resize(bytes.size()); // never more UTF-16 units than bytes
    cv.reset();
    const char *in = bytes.data();
    size_t inLeft = static_cast<size_t>(bytes.size());
    char *outStart = reinterpret_cast<char *>(d.text.data());
    char *out = outStart;
    size_t outLeft = static_cast<size_t>(d.text.size()) * 2;
    auto put = [&](char16_t ch) {
        *reinterpret_cast<char16_t *>(out) = ch;
        out += 2;
        outLeft -= 2;
    };
    auto bad = [&](qsizetype offset) {
        if (d.badOffset < 0)
            d.badOffset = offset;
        ++d.badCount;
        put(0xFFFD);
    };
    while (inLeft > 0) {
        if (!cv.valid()) {
            bad(in - bytes.data());
            break;
        }
        const int err = cv.run(in, inLeft, out, outLeft);
        if (err == 0 || err == E2BIG) // E2BIG cannot happen: never more units than bytes
            break;
        const qsizetype offset = in - bytes.data();
        const unsigned char b = static_cast<unsigned char>(*in);
        if (err == EINVAL) { // a lead byte at the very end
            bad(offset);
            inLeft = 0;
        } else if (const char16_t special = specialByteToChar(b)) {
            put(special);
            ++in;
            --inLeft;
        } else { // EILSEQ: skip the offending byte only, so a valid byte after it survives
            bad(offset);
            ++in;
            --inLeft;
        }
        cv.reset();
    }
    d.text.resize((out - outStart) / 2);
    return d;
}

Encoded toCp932(QStringView text)
{
    Encoded e;
    bool ascii = true;
    for (QChar c : text)
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) {
        e.bytes.resize(text.size());
        for (qsizetype i = 0; i < text.size(); ++i)
            e.bytes[i] = static_cast<char>(text[i].unicode());
        return e;
    }
    Converter &cv = encoder();
    e.bytes.resize(text.size() * 2); // at most two bytes per UTF-16 unit
    cv.reset();
    const char *inStart = reinterpret_cast<const char *>(text.utf16());
    const char *in = inStart;
    size_t inLeft = static_cast<size_t>(text.size()) * 2;
    char *outStart = e.bytes.data();
    char *out = outStart;
    size_t outLeft = static_cast<size_t>(e.bytes.size());
    while (inLeft > 0) {
        const int err = cv.valid() ? cv.run(in, inLeft, out, outLeft) : EILSEQ;
        if (err == 0 || err == E2BIG) // E2BIG cannot happen: the buffer holds two bytes a unit
            break;
        const qsizetype index = (in - inStart) / 2;
        const char16_t unit = text[index].unicode();
        const int special = specialCharToByte(unit);
        qsizetype units = 1;
        if (special >= 0) {
            *out++ = static_cast<char>(special);
        } else {
            if (QChar::isHighSurrogate(unit) && index + 1 < text.size() && text[index + 1].isLowSurrogate())
                units = 2;
            if (e.badIndex < 0)
                e.badIndex = index;
            ++e.badCount;
            *out++ = '?';
        }
        --outLeft;
        in += units * 2;
        inLeft -= static_cast<size_t>(units) * 2;
        cv.reset();
    }
    e.bytes.resize(out - outStart);
    return e;
}

} // namespace codepage
