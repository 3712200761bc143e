#pragma once
// The screen reader's support functions for dictionary text. They take and
// give Shift-JIS (code page 932) byte strings, as the dictionary files hold.

// The dictionary collation, cStrComp, has a library of its own that the
// lookup shares; it is included here for the callers that know it from here.
#include "collation/collation.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The line without readings written in braces directly after a word:
// "閑静{かんせい}な" becomes "閑静な". A brace group that follows a space
// (" {名}") is an annotation and stays, as does an unclosed brace.
QByteArray cnvDelKakko(QByteArrayView line);

// Replacement for a dictionary line that begins with "■C ". Such lines carry
// nothing that needs hiding in our data, so the line is returned unchanged.
QByteArray cnvStrSafe(QByteArrayView line);

// Loads the braille table file; 0 when the file exists and parses, non-zero
// otherwise (1: missing or unreadable, 2: not a braille table).
int BrixSet(const QString &path);
// Releases the table loaded by BrixSet; harmless when none is loaded.
void BrixFree();
// True while a braille table is loaded.
bool BrixLoaded();
