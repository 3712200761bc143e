#include "cp932.h"

#include "core/caretline.h"

#include <cerrno>
#include <iconv.h>

namespace wlhook::x11 {
namespace {

// The single bytes that Windows' code page 932 maps to characters of their
// own and iconv's does not.
int specialByte(std::string_view character)
{
    if (character == "\u0080")
        return 0x80;
    if (character == "\uF8F0")
        return 0xA0;
    if (character == "\uF8F1")
        return 0xFD;
    if (character == "\uF8F2")
        return 0xFE;
    if (character == "\uF8F3")
        return 0xFF;
    return -1;
}

class Converter {
public:
    Converter() : cd_(iconv_open("CP932", "UTF-8")) {}
    ~Converter()
    {
        if (valid())
            iconv_close(cd_);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

} // namespace

std::string utf8ToCp932(std::string_view text, std::size_t maxBytes)
{
    thread_local Converter converter;
    std::string out;
    std::size_t at = 0;
    while (at < text.size() && out.size() < maxBytes) {
        const unsigned char b = static_cast<unsigned char>(text[at]);
        if (b < 0x80) { // the common case, and NUL-safe
            out += static_cast<char>(b);
            ++at;
            continue;
        }
        const std::size_t width = utf8CharacterLength(text, at);
        const std::string_view character = text.substr(at, width);
        at += width;
        if (const int special = specialByte(character); special >= 0) {
            out += static_cast<char>(special);
            continue;
        }
        char encoded[8];
        char *in = const_cast<char *>(character.data());
        std::size_t inLeft = character.size();
        char *dest = encoded;
        std::size_t destLeft = sizeof encoded;
        bool ok = false;
        if (converter.valid() && width > 1) {
            iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
            ok = iconv(converter.get(), &in, &inLeft, &dest, &destLeft) != static_cast<std::size_t>(-1) && inLeft == 0;
        }
        if (ok)
            out.append(encoded, static_cast<std::size_t>(dest - encoded));
        else
            out += '?';
    }
    return out;
}

} // namespace wlhook::x11
