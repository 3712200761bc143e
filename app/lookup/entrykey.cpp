#include "lookup/entrykey.h"

#include "codepage/codepage.h"

#include <QDir>
#include <QVarLengthArray>

#include <array>
#include <memory>

namespace lookup {
namespace {

// GetTango's steps 2 to 7 on the text before the separator.
QString keyFromHead(QStringView head)
{
    const qsizetype semicolon = head.indexOf(u'；');
    if (semicolon >= 0)
        head = head.left(semicolon);
    const qsizetype brace = head.indexOf(u" {");
    if (brace >= 0)
        head = head.left(brace);
    QString t = head.toString();
    if (t.size() >= 1 && t[0] == u'_')
        t[0] = u'－';
    if (t.size() >= 2 && t[1] == u'_')
        t[1] = u'－';
    if (t.size() >= 1 && t[0] == u'\\')
        t[0] = u'￥';
    t.remove(0, 1);
    qsizetype b = 0;
    qsizetype e = t.size();
    while (b < e && t[b] == u' ')
        ++b;
    while (e > b && t[e - 1] == u' ')
        --e;
    return t.sliced(b, e - b).toLower();
}

// Shift-JIS codes of the characters the byte version needs.
constexpr quint16 FullWidthSemicolon = 0x8147; // ；
constexpr quint16 FullWidthHyphen = 0x817C;    // －

// For each character code of code page 932 (a single byte, or lead * 256 +
// trail), the code of its lower-case form, filled in on first use. A
// character whose decoding is not one clean character, or whose lower-case
// form has no code, is marked for the decoding path.
class LowerTable {
public:
    static constexpr quint32 Unknown = 0;
    static constexpr quint32 Decode = 1;

    // (byte count << 16) | code of the lower-case form, or Decode.
    quint32 lookup(quint16 code, int bytes)
    {
        quint32 &entry = table_[code];
        if (entry == Unknown)
            entry = compute(code, bytes);
        return entry;
    }

private:
    static quint32 compute(quint16 code, int bytes)
    {
        char raw[2];
        if (bytes == 1) {
            raw[0] = char(code);
        } else {
            raw[0] = char(code >> 8);
            raw[1] = char(code & 0xFF);
        }
        const codepage::Decoded d = codepage::fromCp932(QByteArrayView(raw, bytes));
        if (!d.ok() || d.text.size() != 1)
            return Decode;
        const codepage::Encoded e = codepage::toCp932(d.text.toLower());
        if (!e.ok() || e.bytes.isEmpty() || e.bytes.size() > 2)
            return Decode;
        const auto b0 = static_cast<unsigned char>(e.bytes[0]);
        if (e.bytes.size() == 1)
            return (1u << 16) | b0;
        return (2u << 16) | (quint32(b0) << 8) | static_cast<unsigned char>(e.bytes[1]);
    }

    std::array<quint32, 65536> table_{};
};

LowerTable &lowerTable()
{
    thread_local std::unique_ptr<LowerTable> table = std::make_unique<LowerTable>();
    return *table;
}

void appendCode(QByteArray &out, quint32 entry)
{
    if ((entry >> 16) == 2)
        out.append(char((entry >> 8) & 0xFF));
    out.append(char(entry & 0xFF));
}

// The byte version of keyFromHead(); false when a character needs the
// decoding path.
bool keyFromHeadBytes(QByteArrayView head, QByteArray &key)
{
    // Character boundaries up to the first "；" or " {".
    struct Char {
        qsizetype start;
        int bytes;
    };
    // Every character walked must decode as itself: an invalid sequence would
    // shift the character boundaries of the decoded text.
    QVarLengthArray<Char, 64> chars;
    LowerTable &table = lowerTable();
    const qsizetype n = head.size();
    qsizetype i = 0;
    while (i < n) {
        const auto b = static_cast<unsigned char>(head[i]);
        if (codepage::isLeadByte(b)) {
            if (i + 1 >= n)
                return false;
            const quint16 code = quint16((b << 8) | static_cast<unsigned char>(head[i + 1]));
            if (code == FullWidthSemicolon)
                break;
            if (table.lookup(code, 2) == LowerTable::Decode)
                return false;
            chars.append({i, 2});
            i += 2;
        } else {
            if (b == ' ' && i + 1 < n && head[i + 1] == '{')
                break;
            if (b >= 0x80 && table.lookup(b, 1) == LowerTable::Decode)
                return false;
            chars.append({i, 1});
            i += 1;
        }
    }
    // The first character (the marker) is dropped; a "_" in second place
    // becomes "－". Steps on the first place change only what is dropped.
    qsizetype first = 1;
    qsizetype last = chars.size(); // one past
    auto isSpace = [&](qsizetype k) { return chars[k].bytes == 1 && head[chars[k].start] == ' '; };
    while (first < last && isSpace(first))
        ++first;
    while (last > first && isSpace(last - 1))
        --last;

    key.clear();
    for (qsizetype k = first; k < last; ++k) {
        const Char c = chars[k];
        const auto b0 = static_cast<unsigned char>(head[c.start]);
        if (k == 1 && c.bytes == 1 && b0 == '_') {
            appendCode(key, (2u << 16) | FullWidthHyphen);
            continue;
        }
        if (c.bytes == 1 && b0 < 0x80) {
            key.append(char(b0 >= 'A' && b0 <= 'Z' ? b0 + ('a' - 'A') : b0));
            continue;
        }
        const quint16 code = c.bytes == 1 ? b0 : quint16((b0 << 8) | static_cast<unsigned char>(head[c.start + 1]));
        const quint32 entry = table.lookup(code, c.bytes);
        if (entry == LowerTable::Decode)
            return false;
        appendCode(key, entry);
    }
    return true;
}

} // namespace

std::optional<QString> GetTango(QStringView line)
{
    const qsizetype sep = line.indexOf(Separator);
    if (sep < 0)
        return std::nullopt;
    return keyFromHead(line.left(sep));
}

QString AddYen(const QString &path)
{
    const QChar native = QDir::separator();
    if (path.endsWith(native) || path.endsWith(u'/'))
        return path;
    return path + native;
}

EntryKeyBytes::Status EntryKeyBytes::ofLine(QByteArrayView line, QByteArray &key)
{
    // 0x20 and 0x3A are never trail bytes, so the first " : " in the bytes is
    // the first " : " of the decoded text.
    const qsizetype sep = line.indexOf(QByteArrayView(" : "));
    if (sep < 0) {
        key.clear();
        return Status::NoSeparator;
    }
    ofHead(line.first(sep), key);
    return Status::Ok;
}

bool EntryKeyBytes::compareHead(QByteArrayView head, QByteArrayView query, int *result)
{
    const qsizetype n = head.size();
    if (n == 0)
        return false;
    // The first character (the marker) is dropped, unless it ends the key
    // at once ("；", or the space of " {").
    const auto first = static_cast<unsigned char>(head[0]);
    if (first == ' ' || (n > 1 && quint16((first << 8) | static_cast<unsigned char>(head[1])) == FullWidthSemicolon))
        return false;
    qsizetype i = codepage::isLeadByte(first) ? 2 : 1;
    if (i < n && head[i] == '_')
        return false; // becomes "－"
    LowerTable &table = lowerTable();
    // A first character that does not decode as one would shift the
    // character boundaries of the decoded text.
    if (i == 2 &&
        (n < 2 || table.lookup(quint16((first << 8) | static_cast<unsigned char>(head[1])), 2) == LowerTable::Decode))
        return false;
    if (i == 1 && first >= 0x80 && table.lookup(first, 1) == LowerTable::Decode)
        return false;
    qsizetype j = 0;
    auto differ = [&](unsigned char k) {
        const auto q = static_cast<unsigned char>(query[j]);
        if (k == q)
            return false;
        *result = k < q ? -1 : 1;
        return true;
    };
    while (i < n && j < query.size()) {
        const auto b = static_cast<unsigned char>(head[i]);
        if (b < 0x80) {
            if (b == ' ' || (b >= 'A' && b <= 'Z'))
                return false; // trimmed, " {", or lowered
            if (differ(b))
                return true;
            ++i;
            ++j;
        } else if (codepage::isLeadByte(b)) {
            if (i + 1 >= n)
                return false;
            const auto t = static_cast<unsigned char>(head[i + 1]);
            const quint16 code = quint16((b << 8) | t);
            if (code == FullWidthSemicolon || table.lookup(code, 2) != ((2u << 16) | code))
                return false;
            if (differ(b))
                return true;
            ++j;
            if (j >= query.size())
                return false;
            if (differ(t))
                return true;
            i += 2;
            ++j;
        } else {
            if (table.lookup(b, 1) != ((1u << 16) | b))
                return false;
            if (differ(b))
                return true;
            ++i;
            ++j;
        }
    }
    return false;
}

void EntryKeyBytes::ofHead(QByteArrayView head, QByteArray &key)
{
    if (keyFromHeadBytes(head, key))
        return;
    key = codepage::encode(keyFromHead(codepage::decode(head)));
}

} // namespace lookup
