#pragma once
// The readings the dictionary gives its words, carried to the voice.
//
// An entry line names how its Japanese words are read: "金{かね・きん}"
// (English-Japanese), "金 {かね}" (a Japanese headword). The pane may show the
// word without its reading, but the voice must still say "かね", not guess.
// A text handed to OrrinVoice::Speak may therefore carry the reading of a
// word as a Unicode interlinear annotation: U+FFF9 word U+FFFA reading U+FFFB.
// The speech-dispatcher back end says the reading; the transcript records
// the word, as the pane shows it.

#include <QList>
#include <QString>
#include <QStringView>

namespace wordreadings {

inline constexpr char16_t Anchor = 0xFFF9;
inline constexpr char16_t Separator = 0xFFFA;
inline constexpr char16_t Terminator = 0xFFFB;

// The QTextFormat properties (above QTextFormat::UserProperty, 0x100000)
// under which the result pane keeps the reading of a word's characters, and
// a number that keeps two neighbouring words apart.
inline constexpr int ReadingProperty = 0x100000 + 0x5701;
inline constexpr int ReadingSerialProperty = ReadingProperty + 1;

// `word` annotated with `reading`.
QString annotated(const QString &word, const QString &reading);
// The text as shown: every annotation replaced by its word.
QString shown(QStringView text);
// The text as said: every annotation replaced by its reading. A broken
// annotation (no separator or terminator) keeps its word.
QString spoken(QStringView text);

// A piece of a dictionary line's text and how the dictionary reads it: one
// stretch of kanji of a word ("食べる{たべる}" gives 食 read た), or the
// whole word when its kana cannot be matched with the reading.
struct Reading {
    QString text;
    QString reading;
    friend bool operator==(const Reading &, const Reading &) = default;
};

// The readings a dictionary line gives its words, in the order of the line:
// every word with a kanji followed (directly or after one space) by a
// closed brace group whose first item is kana; the first item is the
// reading. A kana headword followed by its written form ("かね {金}") reads
// the written form. Groups of tags ("{名}") and an unclosed brace give none.
QList<Reading> fromDictionaryLine(QStringView line);

// Hiragana for katakana (ヴ and the small forms included), for comparing
// readings written either way.
QString toHiragana(QStringView text);

} // namespace wordreadings
