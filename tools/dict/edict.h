#pragma once
// Reading the EDICT file (the Japanese-English dictionary of the Electronic
// Dictionary Research and Development Group, in EUC-JP): decoding its lines
// and taking them apart into written form, reading and senses.
//
// An entry line is "WRITTEN [READING] /gloss/gloss/.../" or, for a word
// written in kana only, "READING /gloss/.../". Tags in parentheses open a
// gloss: parts of speech such as (n) or (v5r,vt), sense numbers (1), (2) ...
// and notes such as (uk); the gloss "(P)" marks a common word.

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace edict {

// Decodes one EUC-JP line. Characters that code page 932 cannot hold (JIS X
// 0212, unassigned codes, broken sequences) become U+FFFD, counted in
// `unholdable`.
QString decodeEucJp(QByteArrayView line, int *unholdable = nullptr);

// Decodes one UTF-8 line, with the characters that JIS X 0208 and code
// page 932 map differently (WAVE DASH, MINUS SIGN ...) as code page 932 has
// them.
QString fromUtf8(QByteArrayView line);

struct Sense {
    QStringList pos;     // part-of-speech tags of the sense ("n", "v5r", "vt" ...)
    QStringList glosses; // as EDICT writes them; the first keeps its leading tags
};

struct Entry {
    QString written; // empty for a word written in kana only
    QString reading;
    QList<Sense> senses;
    bool common = false; // marked (P)
};

// True for the header line that opens the file ("　？？？ /EDICT, ...").
bool isHeaderLine(const QString &line);

// Takes an entry line apart; std::nullopt when the line is not one.
std::optional<Entry> parseLine(const QString &line);

struct Gloss {
    QStringList tags; // the leading tags, split at commas
    QString text;     // the rest, trimmed
};
// Splits the leading tags off a gloss: "(n) (1) (uk) tie up" gives the tags
// n, 1, uk and the text "tie up". Parentheses that are not tags, such as
// "(someone)", stay in the text.
Gloss splitTags(const QString &gloss);

// True for a part-of-speech tag, and for a sense number.
bool isPartOfSpeech(QStringView tag);
bool isSenseNumber(QStringView tag);

} // namespace edict
