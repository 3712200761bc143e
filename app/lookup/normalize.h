#pragma once
// Query normalisation and language detection: deciding from its characters
// alone whether a word is English or Japanese, and bringing it into the form
// in which dictionary headwords are compared (the QueryKey). Pure functions
// on UTF-16 strings.

#include <QString>
#include <QStringView>

namespace lookup {

// True when every character is an English-word character: Latin letters in
// half or full width, space, ideographic space, , . - _ ' and their
// full-width forms ，．－, and ’. True for an empty string.
bool CheckEng(QStringView str);

// Narrows full-width Latin letters, the ideographic space and ．，－’ to their
// ASCII forms; every other character passes unchanged.
QString ZenToHan(QStringView str);

// When `str` holds a half-width katakana from ｧ to ﾝ, the whole string in full
// width (half-width kana become full-width kana, a following voiced or
// semi-voiced sound mark combining into one kana; ASCII becomes its
// full-width form); otherwise `str` unchanged.
QString Hkana2Zkana(QStringView str);

// The katakana form of `str`, or an empty string when `str` holds a Latin
// letter, one of - － _ ' ’, or a kanji (JpnFlag 3).
QString hira2kana(QStringView str);

// 1 for a Latin letter in half or full width, 2 for a word joiner
// (- － _ ' ’), 0 otherwise.
int EngFlag(QChar ch);

// 0 for a blank, を or ヲ; 1 for hiragana ぁ–ん; 2 for katakana ァ–ヶ and ー;
// 3 when the character's code page 932 code lies from that of 亜 to that of
// 黑 (the kanji test comes last and wins); 0 otherwise.
int JpnFlag(QChar ch);

// `str` without its last four characters when it is longer than five (a file
// name without its extension); otherwise unchanged.
QString CutTxt(const QString &str);

// `str` without leading and trailing spaces (U+0020 only).
QStringView trimSpaces(QStringView str);
// `str` without leading and trailing spaces and ideographic spaces (U+3000,
// which an input method types in full-width mode): a typed word as the
// lookup takes it.
QStringView trimWordSpaces(QStringView str);

// The QueryKey of a lookup word (the word without its prefix asterisk) for
// the English-Japanese files: trimmed of spaces and ideographic spaces,
// lower case, narrowed.
QString englishQueryKey(QStringView word);
// ... and for the Japanese-English files: trimmed, half-width kana widened,
// trimmed again (the widening makes spaces ideographic), lower case,
// narrowed.
QString japaneseQueryKey(QStringView word);

} // namespace lookup
