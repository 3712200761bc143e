#pragma once
// Where the program finds its files. In the build folder everything lies in
// the program folder; an installed copy keeps the program in bin, the Wlhook
// library in lib/<multiarch>/wordlamp and its data (braille table,
// dictionary, manuals) in share/wordlamp, both found relative to the program.

#include <QString>

namespace datapaths {

// The folder of the Wlhook library.
QString libraryFolder();

// The folder of the braille table and the other data files.
QString dataFolder();

// The default dictionary folder (the "Wordmere" setting's default): the
// program folder when it holds a dictionary file, else the installed data
// folder when there is one, else the program folder.
QString dictionaryFolder();

// The folder of the program's own manuals: "manual" in the program folder
// (the build folder), else in the installed data folder.
QString manualFolder();

} // namespace datapaths
