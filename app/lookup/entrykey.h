#pragma once
// Entry lines and their keys. Every dictionary line is "■headword : body";
// the EntryKey of a line is the part of its headword that the search
// compares (GetTango), and the lines of a file are sorted by it under
// cStrComp.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace lookup {

// The headword marker that starts every entry line, and the separator
// between headword and body.
inline constexpr char16_t HeadwordMarker = 0x25A0; // ■
inline constexpr QStringView Separator = u" : ";

// The EntryKey of a line: cut before the first " : ", then before "；", then
// before " {"; a "_" in the first or second place becomes "－", a "\" in the
// first place "￥"; the first character (the marker) is dropped; spaces are
// trimmed and the rest is lower-cased. std::nullopt for a line without " : ".
std::optional<QString> GetTango(QStringView line);

// `path` with a directory separator appended unless it already ends in one
// (an empty path becomes the separator alone).
QString AddYen(const QString &path);

// The EntryKey computed on the Shift-JIS bytes of a line, equal to the
// Shift-JIS form of GetTango() of the decoded line, but without decoding
// whenever the key holds only characters whose lower-case form is known.
// The search calls it for every probe.
class EntryKeyBytes {
public:
    enum class Status { Ok, NoSeparator };
    // Computes the key of `line` into `key`.
    static Status ofLine(QByteArrayView line, QByteArray &key);
    // The same for the text before the separator alone (`head` must not
    // contain " : ").
    static void ofHead(QByteArrayView head, QByteArray &key);
    // cStrComp(key of `head`, `query`) from the leading bytes of the head
    // alone, when they settle it: the key's first bytes are the head's own
    // (no capital, space, "_" or "；" on the way) and one of them differs
    // from the query's. False when the full key is needed.
    static bool compareHead(QByteArrayView head, QByteArrayView query, int *result);
};

} // namespace lookup
