#pragma once
// The entry writer: turns the raw lines of HitLines into the text of the
// result pane. The headword goes on a line of its own in the headword
// colour; every part of the body ("●" and ":" start new lines) follows in
// the body colour, indented. The reading commands speak the pane line by
// line, so this line structure is also the order in which an entry is heard.

#include "lookup/entrysink.h"
#include "lookup/lookupstate.h"

namespace lookup {

inline constexpr EntryColor HeadwordColor{0, 128, 0};
inline constexpr EntryColor HeadwordColorReversed{255, 255, 192};
inline constexpr EntryColor BodyColor{0, 0, 0};
inline constexpr EntryColor BodyColorReversed{255, 255, 255};

EntryFormat headwordFormat(bool modeReverse);
// Body indent: 8 x the font size for Japanese-English entries, 4 x for
// English-Japanese ones, in twips.
EntryFormat bodyFormat(int DicMode, bool modeReverse, double fontPointSize);

// True for English-Japanese lines that only give a pronunciation; they are
// searched like any other line but never shown.
bool isPronunciationLine(const QString &line);

// Appends HitLines(0) .. HitLines(HitCount - 1) to `sink`. Writes nothing
// when HitCount is 0; emptying the pane first is the caller's business.
void DicStrConv(const LookupState &state, EntrySink &sink);

} // namespace lookup
