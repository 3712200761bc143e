#pragma once
// EDICT's tags in the Japanese-English entries, written the way a Japanese
// dictionary writes them: "(v5r,vi) (1) (uk) to run" becomes
// "(動・自) (1) (かな書き) to run". A screen reader reads "(名)" as a word;
// "(n)" or "(v5r,vi)" it spells out letter by letter.

#include <QString>

namespace dictbuild {

// The Japanese name of one tag; an empty string for a tag that is left out
// ("unc", unclassified); the tag itself when it has no Japanese name.
QString tagName(const QString &tag);

// A gloss with its leading tags renamed, each parenthesised group kept as a
// group ("(n,vs)" gives "(名・スル)"). Parentheses that are no tags stay as
// they are.
QString withJapaneseTags(const QString &gloss);

// True for a tag that names a dialect ("ksb", "rkb" ...).
bool isDialectTag(const QString &tag);

// True for a tag that marks a word of a special register: honorific,
// humble, archaic, slang, rare and the like, and dialects.
bool isMarkedRegister(const QString &tag);

// The text with EDICT's notes of a word's origin in Japanese:
// "(fre: maison)" becomes "(フランス語： maison)", "(lat:)" becomes
// "(ラテン語)". Notes of languages without a name here stay as they are.
QString withLanguageNames(const QString &text);

} // namespace dictbuild
