#pragma once
// What the speech-dispatcher back end needs to know about a text before it
// hands it over: which characters are kanji or kana, which language the
// voice should use, what to strip from it, and how long it can take to say.

#include <QList>
#include <QString>
#include <QStringView>

namespace speechtext {

// Calls f(char32_t) for every character of the text, surrogate pairs joined.
template <typename F> void forEachCharacter(QStringView text, F f)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t ch = text[i].unicode();
        if (QChar::isHighSurrogate(ch) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ch = QChar::surrogateToUcs4(char16_t(ch), text[++i].unicode());
        f(ch);
    }
}

bool isKanji(char32_t ch); // CJK ideographs and the iteration marks 々 〆
bool isKana(char32_t ch);  // hiragana, katakana (full and half width), ー

bool containsKanji(QStringView text);

// "ja" for a text that holds kana or kanji, else "en".
QString language(QStringView text);

// A stretch of text in one language, as the voice of that language should
// get it.
struct Run {
    QString text;
    QString language; // "ja" or "en"
};

// The text cut where it changes between Japanese (kana, kanji, Japanese and
// full-width punctuation) and English (Latin letters): "りんご apple tree
// です" is three runs, so each is read by the voice of its language. Digits,
// spaces and other signs go with the run they stand in; between two runs
// they are cut at their last space, so "(名) (1) study" keeps "(1)" in
// Japanese. Runs are trimmed; a text without letters is one run.
QList<Run> runs(QStringView text);

// True when the text holds no letter, digit, kana or kanji: a bracket or a
// semicolon alone, which a voice would only name.
bool onlySigns(QStringView text);

// A Japanese run as its voice should get it: a middle dot between words
// ("名・スル") is read as the short pause of a comma, not named.
QString withPauses(QString japanese);

// The dictionary's short part-of-speech tags said as the words they stand
// for, inside a bracketed group of tags only: "(名・自)" is heard as
// "(名詞・自動詞)", "{形}" as "{形容詞}". The display keeps the short form,
// which a magnified line has room for.
QString withTagWords(const QString &japanese);

// The text as the synthesiser should get it: the speech end marker and other
// control characters removed (line breaks become "\n", tabs spaces) and
// surrounding white space trimmed. Empty when there is nothing to say.
QString cleaned(QStringView text);

// A generous upper bound, in milliseconds, for how long a voice takes to say
// `text` at `rate` (-100 slowest .. 0 normal .. 100 fastest). Speech that has
// not ended by then is taken to have ended.
qint64 expectedDurationMs(QStringView text, int rate);

} // namespace speechtext
