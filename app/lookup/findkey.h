#pragma once
// The search of one dictionary file (FindKey): a coarse pass of probes at
// evenly spaced byte positions, a fine pass inside the bracket it found, and
// a scan of lines from the last probe that sorted before the query. Keys are
// compared as Shift-JIS bytes under cStrComp; a line is decoded only when it
// is kept.

#include "lookup/dicfile.h"
#include "lookup/entrysink.h"
#include "lookup/lookupstate.h"

#include <QByteArray>
#include <QString>

namespace lookup {

class FileSearch {
public:
    // `sink` (may be null) receives the kept lines at the end of the search,
    // emptied first when a line matched; a search that fails or ends on a
    // file error leaves it as it was.
    FileSearch(LookupState &state, EntrySink *sink);

    // Searches the file `FileName` for the QueryKey `KeyWord`, exactly or as a
    // prefix (ZenpoFlag), filling HitLines and the position record. True when
    // a line matched. On a file error false, with the reason in `error`.
    bool FindKey(const QString &FileName, const QString &KeyWord, QString *error);

    // Bytes read from dictionary files by this object so far.
    quint64 bytesRead() const { return bytesRead_; }
    // Probes made by the last FindKey (coarse, fine and tail probes).
    int lastProbeCount() const { return probes_; }

private:
    struct Failure {
        QString reason;
    };
    struct TailLine {
        bool known = false;
        QByteArray key;
        qint64 pos = 0;
    };

    bool search(const QString &KeyWord);
    // Probe passes: true when a probe sorted at or after the query; `lo`
    // becomes the position of the last probed line that sorted before it.
    enum class Pass { Bracketed, FirstAfter, AllBefore };
    Pass probePass(qint64 start, qint64 step, int steps, qint64 &lo);
    void scan(qint64 lo, bool fromFirstLine, bool &result);

    const QByteArray &NowSeek(qint64 fseek);
    // NowSeek (or LastSeek for the tail probe) compared with the query:
    // cStrComp's result, and whether the key begins with the query. The key
    // is built only when the head's leading bytes do not settle it.
    int probe(qint64 fseek, bool tail, bool *keyStartsWithQuery);
    const QByteArray &LastSeek(qint64 fseek);
    const TailLine &tailLine();
    void keyOfLine(QByteArrayView line, qint64 linePos, QByteArray &key);
    void checkRead();

    LookupState &state_;
    EntrySink *sink_;
    DicFile *file_ = nullptr;
    QByteArray query_;  // Shift-JIS QueryKey
    QString queryText_; // the QueryKey
    QByteArray probeKey_;
    qint64 memoFseek_ = -1; // the last NowSeek, whose answer is still in probeKey_
    qint64 memoLinePos_ = 0;
    int memoResult_ = 0;
    bool memoStarts_ = false;
    qint64 memoProbe_ = -1; // the last probe(), whose answer is memoResult_
    TailLine tail_;
    quint64 bytesRead_ = 0;
    int probes_ = 0;
};

// (a / b) rounded to the nearest integer, halves to the even neighbour.
qint64 divideRoundHalfEven(qint64 a, qint64 b);

} // namespace lookup
