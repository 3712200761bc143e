#pragma once
// The state of the main window that the lookup reads and writes. The window
// owns one LookupState and hands it to the lookup engine, to word paging and
// to the entry writer; none of them keeps a copy.

#include <QString>
#include <QStringList>

namespace lookup {

// Directions of a lookup (the value of DicMode).
inline constexpr int EnglishJapanese = 1;
inline constexpr int JapaneseEnglish = 2;

// Where the last lookup or paging step found its entry. File positions are
// 1-based byte offsets of line starts.
struct PositionRecord {
    // HitLines holds at most this many lines.
    static constexpr int HitLinesSize = 1001;

    // Full path of the file searched last: AddYen(folder) + file name.
    QString DicFileName;
    // The entry lines gathered by the last lookup or paging step, decoded but
    // otherwise as read from the file. Its size is HitCount().
    QStringList HitLines;
    // Position of the first exactly matching line; 0 after a prefix search.
    qint64 HitTopPos = 0;
    // Position of the last exactly matching line: the current entry of word
    // paging. A search that matches nothing leaves it alone.
    qint64 HitEndPos = 0;
    // Position of the line most recently read by the search.
    qint64 LinePos = 0;
    // Divisions of the file for the coarse and the fine probing pass.
    qint32 CoarseSteps = 200;
    qint32 FineSteps = 50;

    qint32 HitCount() const { return qint32(HitLines.size()); }
    bool hitLinesFull() const { return HitLines.size() >= HitLinesSize; }
};

struct LookupState {
    // A lookup is running (until the reading of its result has ended).
    bool KensakuEnable = false;
    // Direction of the last lookup, EnglishJapanese or JapaneseEnglish; 0
    // before the first.
    qint32 DicMode = 0;
    // The last lookup was a prefix search (the word ended with an asterisk).
    bool ZenpoFlag = false;
    // A prefix search keeps at most ZenpoMax + 1 lines ("ZenpoMax").
    qint32 ZenpoMax = 50;
    // A word captured from another application is being looked up.
    bool CaptureActive = false;
    // The dictionary folder ("Wordmere").
    QString FilePath;
    // Readings in braces are removed from English-Japanese entries ("DicKana").
    bool DicKana = true;
    // Reversed colours ("Reverse").
    bool modeReverse = false;

    PositionRecord record;
};

} // namespace lookup
