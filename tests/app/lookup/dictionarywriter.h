#pragma once
// Test helper: writes dictionary files from entry lines given as text, in
// the dictionary's own order (sorted by EntryKey under cStrComp) or as
// given, with CR LF or LF line ends.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QRandomGenerator;

namespace testdict {

// The Shift-JIS EntryKey of a line, computed from the text.
QByteArray keyBytes(const QString &line);

// `lines` sorted by EntryKey, stably.
QStringList sorted(QStringList lines);

// The file bytes of `lines`, each followed by `lineEnd`.
QByteArray bytes(const QStringList &lines, const QByteArray &lineEnd = "\r\n");

// 1-based positions of the lines in bytes(lines, lineEnd).
QList<qint64> positions(const QStringList &lines, const QByteArray &lineEnd = "\r\n");

// Writes `data` to `path`; false when it cannot.
bool writeFile(const QString &path, const QByteArray &data);

// `count` random entry lines (English and Japanese headwords, annotations,
// several lines for one key, bodies with "●" and ":"), sorted.
QStringList randomDictionary(int count, QRandomGenerator &rng);

} // namespace testdict
