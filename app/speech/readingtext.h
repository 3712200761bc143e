#pragma once
// The text rules of the reading commands, as plain functions over the text
// being read. The text is the result pane's text with every line break
// written as a carriage return and a line feed, and positions are 0-based
// indexes into it (see panetext.h for the mapping to pane positions).

#include <QChar>
#include <QString>

namespace reading {

// Classes of the read-all's chunk rules.
bool isEnglishLetter(QChar ch);     // A-Z, a-z
bool isRunContinuation(QChar ch);   // continues an English run
bool isNumberPunctuation(QChar ch); // "，" "," "." "．"
bool isJapaneseChunkEnd(QChar ch);
bool isSpace(QChar ch);             // " " and "　"
bool isDigit(QChar ch);             // 0-9 in both widths
bool isSentenceDelimiter(QChar ch); // where going back stops

// |n| when positive, else 0.
int AbsX(int n);

// One character left, or two when the first step lands between a carriage
// return and its line feed. At 0 nothing moves and `startReached` is set.
int rev(const QString &text, int pos, bool *startReached);

// Where reading resumes after the reading buttons, from the cursor `pos`.
// Back one sentence: from the start of the chunk read before the last one.
int readBackTarget(const QString &text, int pos);
// Back about 100 characters, to a sentence delimiter.
int readBack100Target(const QString &text, int pos);
// Forward past up to eleven line ends, stopping once more than 100
// characters were passed; `pos` itself when there is no line end to pass.
int readSkipTarget(const QString &text, int pos);

// The word at `pos`: the English word around a letter, else the run of
// Japanese characters of one class (a kanji run taking the hiragana that
// follow it up to a particle). Empty when there is none.
QString wordAt(const QString &text, int pos);

// The paragraph around `pos`: from the line feed before it (or the text
// start) to the carriage return after it (or the text end), both included.
QString paragraphAt(const QString &text, int pos, int *start = nullptr);

// The English text from `pos` on, as the English voice reads it: letters,
// digits, spaces and - , " ' _ $ as they are, "." as ":", up to the first
// other character.
QString englishFrom(const QString &text, int pos);

} // namespace reading
