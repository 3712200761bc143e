#include "binarysearch.h"

#include "codepage/codepage.h"
#include "lookup/entrykey.h"
#include "orrin/orrinsupport.h"

#include <QFile>

namespace {

constexpr qint64 Piece = 256;

class Reader {
public:
    explicit Reader(const QString &path) : file_(path) { file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered); }
    qint64 size() const { return file_.size(); }

    // The line that starts at `pos`, or with `skipFirst` the line after the
    // one that holds `pos`. `lineStart` gets its offset (the file size when
    // there is none), `next` the offset after its line end.
    QByteArray line(qint64 pos, bool skipFirst, qint64 *lineStart, qint64 *next)
    {
        QByteArray buf = read(pos, Piece);
        qsizetype from = 0;
        if (skipFirst) {
            qsizetype lf;
            while ((lf = buf.indexOf('\n')) < 0 && pos + buf.size() < size())
                buf += read(pos + buf.size(), Piece);
            if (lf < 0) {
                *lineStart = *next = size();
                return QByteArray();
            }
            from = lf + 1;
        }
        *lineStart = pos + from;
        qsizetype lf;
        while ((lf = buf.indexOf('\n', from)) < 0 && pos + buf.size() < size())
            buf += read(pos + buf.size(), Piece);
        const qsizetype end = lf < 0 ? buf.size() : lf;
        *next = pos + (lf < 0 ? buf.size() : lf + 1);
        QByteArray l = buf.mid(from, end - from);
        if (l.endsWith('\r'))
            l.chop(1);
        return l;
    }
    quint64 bytesRead = 0;

private:
    QByteArray read(qint64 pos, qint64 n)
    {
        file_.seek(pos);
        QByteArray b = file_.read(n);
        bytesRead += quint64(b.size());
        return b;
    }
    QFile file_;
};

} // namespace

BinarySearchResult binarySearch(const QString &path, const QString &queryKey, bool prefix, int limit)
{
    BinarySearchResult r;
    Reader f(path);
    const QByteArray q = codepage::encode(queryKey);
    QByteArray key;
    // lo: 0 or a line start whose key sorts before q; the first line that
    // sorts at or after q starts after lo and no later than hi.
    qint64 lo = 0;
    qint64 hi = f.size();
    qint64 start = 0;
    qint64 next = 0;
    while (hi - lo > Piece) {
        const qint64 mid = lo + (hi - lo) / 2;
        const QByteArray line = f.line(mid, true, &start, &next);
        ++r.probes;
        if (start >= hi) {
            hi = mid;
            continue;
        }
        lookup::EntryKeyBytes::ofLine(line, key);
        if (cStrComp(key, q) < 0)
            lo = start;
        else
            hi = start;
    }
    qint64 pos = lo;
    while (pos < f.size()) {
        const QByteArray line = f.line(pos, false, &start, &next);
        pos = next;
        lookup::EntryKeyBytes::ofLine(line, key);
        if (prefix ? key.startsWith(q) : key == q) {
            r.lines.append(codepage::decode(line));
            if (prefix && r.lines.size() > limit)
                break;
        } else if (cStrComp(key, q) > 0) {
            break;
        }
    }
    r.bytesRead = f.bytesRead;
    return r;
}
