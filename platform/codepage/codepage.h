#pragma once
// Conversions between Unicode text and the Japanese ANSI code page 932
// (Shift-JIS with the NEC and IBM extensions), the encoding of the
// dictionary files, of Wlhook's capture buffer and of the strings handed to
// the screen reader's support functions.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace codepage {

// The byte 0xFE has no character in code page 932; the platform conversion
// maps it to this private-use character. It ends some spoken texts.
inline constexpr char16_t SpeechEndMarker = 0xF8F2;

struct Encoded {
    QByteArray bytes;        // characters that cannot be held are written as '?'
    qsizetype badIndex = -1; // UTF-16 index of the first such character, -1 if none
    qsizetype badCount = 0;  // how many characters could not be held
    bool ok() const { return badIndex < 0; }
};

struct Decoded {
    QString text;             // invalid byte sequences are decoded as U+FFFD
    qsizetype badOffset = -1; // byte offset of the first invalid sequence, -1 if none
    qsizetype badCount = 0;
    bool ok() const { return badOffset < 0; }
};

Encoded toCp932(QStringView text);
Decoded fromCp932(QByteArrayView bytes);

// Shorthands for callers that have already made sure the text fits, or that
// accept the replacement characters.
inline QByteArray encode(QStringView text)
{
    return toCp932(text).bytes;
}
inline QString decode(QByteArrayView bytes)
{
    return fromCp932(bytes).text;
}

// Code of one character in code page 932: a single byte (0x00-0xFF) or a
// double-byte code lead * 256 + trail (亜 is 0x889F). -1 when the character
// has no code.
int cp932Code(char32_t ch);

// True for the bytes that start a double-byte character.
constexpr bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Length of the valid prefix of `bytes` that is at most `limit` bytes long
// and does not end between a lead byte and its trail byte.
qsizetype safeCut(QByteArrayView bytes, qsizetype limit);

} // namespace codepage
