#pragma once
// The dictionary files of one direction in the dictionary folder (a
// DicFileSet): the English-Japanese files match "ei*.txt" or "wordmere.dic",
// the Japanese-English files "waei*.txt" or "waei.dic", letter case ignored.

#include <QString>
#include <QStringList>

#include <optional>

namespace lookup {

// The file name patterns of a direction, ";"-separated.
QString dicFilePatterns(int DicMode);

// True when `fileName` belongs to the set of the direction.
bool matchesDicFileSet(const QString &fileName, int DicMode);

struct DicFileListing {
    QStringList names; // file names (without folder), in search order
    QString error;     // set when the folder cannot be listed
    bool ok() const { return error.isEmpty(); }
};

// The files of the direction in `folder`, ordered by name with letter case
// ignored. Listed afresh at every call. A folder that does not exist is an
// error; a folder without matching files gives an empty list.
DicFileListing listDicFileSet(const QString &folder, int DicMode);

} // namespace lookup
