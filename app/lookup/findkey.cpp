#include "lookup/findkey.h"

#include "codepage/codepage.h"
#include "collation/collation.h"
#include "lookup/dicstrconv.h"
#include "lookup/entrykey.h"

#include <algorithm>

namespace lookup {
namespace {

// "■" in code page 932.
constexpr QByteArrayView MarkerBytes("\x81\xA1");

} // namespace

qint64 divideRoundHalfEven(qint64 a, qint64 b)
{
    if (b < 0) {
        a = -a;
        b = -b;
    }
    qint64 q = a / b;
    qint64 r = a % b;
    if (r < 0) { // make it a floor division, 0 <= r < b
        q -= 1;
        r += b;
    }
    if (2 * r > b || (2 * r == b && (q & 1) != 0))
        ++q;
    return q;
}

FileSearch::FileSearch(LookupState &state, EntrySink *sink) : state_(state), sink_(sink)
{
}

bool FileSearch::FindKey(const QString &FileName, const QString &KeyWord, QString *error)
{
    PositionRecord &r = state_.record;
    r.HitTopPos = 0;
    r.HitLines.clear();
    probes_ = 0;
    DicFile file; // closed on every way out of this function
    if (!file.open(FileName)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    r.DicFileName = FileName;
    file_ = &file;
    memoFseek_ = -1;
    memoProbe_ = -1;
    tail_ = TailLine();
    bool result = false;
    try {
        result = search(KeyWord);
    } catch (const Failure &f) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(FileName, f.reason);
        r.HitLines.clear(); // the search was abandoned: nothing it gathered is an entry
        result = false;
    }
    bytesRead_ += file.bytesRead();
    file_ = nullptr;
    return result;
}

bool FileSearch::search(const QString &KeyWord)
{
    PositionRecord &r = state_.record;
    queryText_ = KeyWord;
    query_ = codepage::encode(KeyWord);
    if (file_->length() == 0)
        throw Failure{QStringLiteral("the file is empty (or holds only blank lines)")};

    // Coarse pass over the whole file.
    qint64 lo = 0;
    const qint64 coarseStep = file_->length() / std::max(1, r.CoarseSteps);
    if (probePass(1, coarseStep, std::max(1, r.CoarseSteps), lo) != Pass::Bracketed)
        return false;

    // The first line itself may already equal the query: then no line sorts
    // before it, and the scan starts with the first line.
    const bool fromFirstLine = lo == 0;
    if (!fromFirstLine) {
        // Fine pass inside the bracket. After a tail probe LinePos has not
        // moved and the step is 0: the probes repeat until the tail probe.
        const qint64 hi = r.LinePos;
        const qint64 step = divideRoundHalfEven(hi - lo, std::max(1, r.FineSteps));
        if (probePass(lo, step, std::max(1, r.FineSteps), lo) != Pass::Bracketed)
            return false;
    }

    bool result = false;
    scan(lo, fromFirstLine, result);
    // The pane is emptied for the first match only once the scan has ended
    // well: a search abandoned on a file error leaves the entry on display.
    if (sink_) {
        if (result)
            sink_->clear();
        DicStrConv(state_, *sink_);
    }
    return result;
}

FileSearch::Pass FileSearch::probePass(qint64 start, qint64 step, int steps, qint64 &lo)
{
    qint64 p = start;
    for (int i = 1; i <= steps + 1; ++i) {
        bool startsWithQuery = false;
        const int c = probe(p, i == steps + 1, &startsWithQuery);
        ++probes_;
        // The first probe sorting after the query ends the search, unless a
        // prefix search finds its prefix there: that line is a match.
        if (c == 1 && i == 1 && !(state_.ZenpoFlag && startsWithQuery))
            return Pass::FirstAfter;
        if (c != -1)
            return Pass::Bracketed;
        lo = state_.record.LinePos;
        p += step;
    }
    return Pass::AllBefore;
}

void FileSearch::scan(qint64 lo, bool fromFirstLine, bool &result)
{
    PositionRecord &r = state_.record;
    if (fromFirstLine) {
        file_->seek(1);
    } else {
        file_->seek(lo);
        file_->skipLine(); // this line sorts before the query
        checkRead();
    }
    const bool prefix = state_.ZenpoFlag;
    int kept = 0;
    QByteArray key;
    auto keep = [&](const QString &line) {
        if (r.hitLinesFull())
            throw Failure{
                QStringLiteral("more than %1 lines match \"%2\"").arg(PositionRecord::HitLinesSize).arg(queryText_)};
        r.HitLines.append(line);
        result = true;
    };
    while (!file_->atEnd()) {
        const qint64 prev = r.LinePos;
        r.LinePos = file_->pos();
        const QByteArrayView line = file_->readLineView();
        checkRead();
        keyOfLine(line, r.LinePos, key);
        if (prefix) {
            // Bytes first: a key whose bytes do not begin with the query's
            // cannot begin with it as text either.
            if (key.startsWith(query_)) {
                const QString text = codepage::decode(line);
                if (GetTango(text).value_or(QString()).startsWith(queryText_)) {
                    keep(text);
                    if (++kept > state_.ZenpoMax)
                        break;
                    continue;
                }
            }
            if (cStrComp(key, query_) == 1) {
                r.LinePos = prev;
                break;
            }
        } else {
            if (key == query_) {
                const QString text = codepage::decode(line);
                if (GetTango(text) == queryText_) {
                    keep(text);
                    r.HitEndPos = r.LinePos;
                    if (r.HitTopPos == 0)
                        r.HitTopPos = r.LinePos;
                    continue;
                }
            }
            if (result)
                break;
            if (cStrComp(key, query_) == 1) {
                r.LinePos = prev;
                break;
            }
        }
    }
}

const QByteArray &FileSearch::NowSeek(qint64 fseek)
{
    PositionRecord &r = state_.record;
    if (fseek == memoFseek_) {
        r.LinePos = memoLinePos_;
        return probeKey_;
    }
    file_->seek(fseek);
    r.LinePos = fseek;
    if (fseek != 1) {
        // Finish the line in which fseek lies (a whole line when fseek is a
        // line start); the probe is the line after it.
        file_->skipLine();
        checkRead();
        if (file_->atEnd()) {
            // No complete line follows: the probe stands on the last line.
            const TailLine &t = tailLine();
            r.LinePos = t.pos;
            probeKey_ = t.key;
            memoFseek_ = fseek;
            memoLinePos_ = r.LinePos;
            return probeKey_;
        }
        r.LinePos = file_->pos();
    }
    bool separator = false;
    const QByteArrayView head = file_->readLineHead(&separator);
    checkRead();
    if (!separator)
        throw Failure{QStringLiteral("the line at byte %1 has no \" : \"").arg(r.LinePos)};
    EntryKeyBytes::ofHead(head, probeKey_);
    memoFseek_ = fseek;
    memoLinePos_ = r.LinePos;
    return probeKey_;
}

int FileSearch::probe(qint64 fseek, bool tail, bool *keyStartsWithQuery)
{
    PositionRecord &r = state_.record;
    if (tail) {
        const QByteArray &key = LastSeek(fseek);
        *keyStartsWithQuery = key.startsWith(query_);
        return cStrComp(key, query_);
    }
    if (fseek == memoProbe_) {
        r.LinePos = memoLinePos_;
        *keyStartsWithQuery = memoStarts_;
        return memoResult_;
    }
    // As NowSeek, but the head is compared before its key is built.
    file_->seek(fseek);
    r.LinePos = fseek;
    int c = 0;
    bool starts = false;
    bool settled = false;
    if (fseek != 1) {
        file_->skipLine();
        checkRead();
        if (file_->atEnd()) {
            const TailLine &t = tailLine();
            r.LinePos = t.pos;
            c = cStrComp(t.key, query_);
            starts = t.key.startsWith(query_);
            settled = true;
        } else {
            r.LinePos = file_->pos();
        }
    }
    if (!settled) {
        bool separator = false;
        const QByteArrayView head = file_->readLineHead(&separator);
        checkRead();
        if (!separator)
            throw Failure{QStringLiteral("the line at byte %1 has no \" : \"").arg(r.LinePos)};
        if (!EntryKeyBytes::compareHead(head, query_, &c)) {
            EntryKeyBytes::ofHead(head, probeKey_);
            c = cStrComp(probeKey_, query_);
            starts = probeKey_.startsWith(query_);
        }
    }
    memoProbe_ = fseek;
    memoLinePos_ = r.LinePos;
    memoResult_ = c;
    memoStarts_ = starts;
    memoFseek_ = -1; // probeKey_ no longer holds this probe's key
    *keyStartsWithQuery = starts;
    return c;
}

const QByteArray &FileSearch::LastSeek(qint64)
{
    return tailLine().key;
}

const FileSearch::TailLine &FileSearch::tailLine()
{
    if (tail_.known)
        return tail_;
    const qint64 length = file_->length();
    // The last 1025 bytes; when they hold no line that starts with "■" (a
    // long last line, or lines of another kind at the end), further back.
    qint64 span = 1025;
    for (;;) {
        const qint64 start = std::max<qint64>(1, length - span + 1);
        bool startsLine = true;
        if (start > 1) {
            file_->seek(start - 1);
            startsLine = file_->readByte() == '\n';
        }
        file_->seek(start);
        QByteArray last;
        qint64 lastPos = 0;
        bool first = true;
        while (!file_->atEnd()) {
            const qint64 pos = file_->pos();
            const QByteArrayView line = file_->readLineView();
            checkRead();
            if ((startsLine || !first) && line.startsWith(MarkerBytes)) {
                last = line.toByteArray();
                lastPos = pos;
            }
            first = false;
        }
        if (lastPos > 0) {
            keyOfLine(last, lastPos, tail_.key);
            tail_.pos = lastPos;
            tail_.known = true;
            return tail_;
        }
        if (start == 1)
            throw Failure{QStringLiteral("no line starts with \"■\"")};
        span *= 4;
    }
}

void FileSearch::keyOfLine(QByteArrayView line, qint64 linePos, QByteArray &key)
{
    if (EntryKeyBytes::ofLine(line, key) == EntryKeyBytes::Status::NoSeparator)
        throw Failure{QStringLiteral("the line at byte %1 has no \" : \"").arg(linePos)};
}

void FileSearch::checkRead()
{
    if (file_->failed())
        throw Failure{file_->errorString()};
}

} // namespace lookup
