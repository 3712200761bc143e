#include "lookup/dicfile.h"

#include "codepage/codepage.h"

#include <QFileInfo>

#include <algorithm>

namespace lookup {

DicFile::~DicFile()
{
    close();
}

bool DicFile::open(const QString &path)
{
    close();
    error_.clear();
    failed_ = false;
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        error_ = QStringLiteral("%1 is not a file").arg(path);
        return false;
    }
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        error_ = QStringLiteral("cannot open %1: %2").arg(path, file_.errorString());
        return false;
    }
    length_ = file_.size();
    cursor_ = 0;
    return true;
}

void DicFile::close()
{
    if (file_.isOpen())
        file_.close();
    for (Piece &p : pieces_) {
        p.start = 0;
        p.data.clear();
        p.lastUse = 0;
    }
    length_ = 0;
    cursor_ = 0;
}

void DicFile::seek(qint64 pos)
{
    cursor_ = std::clamp<qint64>(pos - 1, 0, length_);
}

bool DicFile::readInto(QByteArray &buffer, qint64 offset, qsizetype size)
{
    if (failed_ || !file_.isOpen())
        return false;
    const qsizetype old = buffer.size();
    buffer.resize(old + size);
    qint64 got = -1;
    if (file_.seek(offset))
        got = file_.read(buffer.data() + old, size);
    if (got <= 0) {
        buffer.resize(old);
        if (got < 0 || offset < length_) {
            failed_ = true;
            error_ = QStringLiteral("cannot read %1: %2").arg(file_.fileName(), file_.errorString());
        }
        return false;
    }
    buffer.resize(old + got);
    bytesRead_ += quint64(got);
    return true;
}

DicFile::Piece *DicFile::pieceAt(qint64 offset)
{
    if (offset >= length_ || failed_)
        return nullptr;
    for (Piece &p : pieces_)
        if (!p.data.isEmpty() && offset >= p.start && offset < p.end()) {
            p.lastUse = ++useClock_;
            return &p;
        }
    Piece *oldest = &pieces_[0];
    for (Piece &p : pieces_)
        if (p.lastUse < oldest->lastUse)
            oldest = &p;
    oldest->data.clear();
    oldest->start = offset;
    if (!readInto(oldest->data, offset, std::min<qint64>(ChunkSize, length_ - offset))) {
        oldest->lastUse = 0;
        return nullptr;
    }
    oldest->lastUse = ++useClock_;
    return oldest;
}

bool DicFile::extend(Piece &piece)
{
    if (piece.end() >= length_)
        return false;
    // Grow by the piece's own size, so that a long line costs few reads.
    const qint64 more = std::min<qint64>(std::max<qint64>(ChunkSize, piece.data.size()), length_ - piece.end());
    return readInto(piece.data, piece.end(), qsizetype(more));
}

QByteArrayView DicFile::readLineView()
{
    Piece *p = pieceAt(cursor_);
    if (!p) {
        cursor_ = length_;
        return {};
    }
    const qsizetype begin = qsizetype(cursor_ - p->start);
    qsizetype from = begin;
    qsizetype lf;
    while ((lf = p->data.indexOf('\n', from)) < 0) {
        from = p->data.size();
        if (!extend(*p))
            break;
    }
    qsizetype end = lf >= 0 ? lf : p->data.size();
    cursor_ = lf >= 0 ? p->start + lf + 1 : p->end();
    if (failed_)
        cursor_ = length_;
    if (end > begin && p->data[end - 1] == '\r')
        --end;
    return QByteArrayView(p->data).sliced(begin, end - begin);
}

void DicFile::skipLine()
{
    readLineView();
}

QByteArrayView DicFile::readLineHead(bool *separatorFound)
{
    *separatorFound = false;
    Piece *p = pieceAt(cursor_);
    if (!p) {
        cursor_ = length_;
        return {};
    }
    const qsizetype begin = qsizetype(cursor_ - p->start);
    qsizetype from = begin;
    for (;;) {
        const QByteArrayView data(p->data);
        // Look for the separator and the line end in what is in hand; the
        // separator may straddle the end of the piece, so stop two bytes short.
        const qsizetype lf = data.indexOf('\n', from);
        const qsizetype limit = lf >= 0 ? lf : data.size();
        const qsizetype sep = data.sliced(0, limit).indexOf(QByteArrayView(" : "), std::max(begin, from - 2));
        if (sep >= 0) {
            *separatorFound = true;
            cursor_ = p->start + sep;
            return data.sliced(begin, sep - begin);
        }
        if (lf >= 0 || !extend(*p)) {
            qsizetype end = limit;
            cursor_ = lf >= 0 ? p->start + lf + 1 : p->end();
            if (failed_)
                cursor_ = length_;
            if (end > begin && p->data[end - 1] == '\r')
                --end;
            return QByteArrayView(p->data).sliced(begin, end - begin);
        }
        from = limit;
    }
}

int DicFile::readByte()
{
    Piece *p = pieceAt(cursor_);
    if (!p) {
        cursor_ = length_;
        return -1;
    }
    const auto b = static_cast<unsigned char>(p->data[cursor_ - p->start]);
    ++cursor_;
    return b;
}

QByteArray DicFile::readChar()
{
    QByteArray c;
    const int first = readByte();
    if (first < 0)
        return c;
    c.append(char(first));
    if (codepage::isLeadByte(static_cast<unsigned char>(first))) {
        const int second = readByte();
        if (second >= 0)
            c.append(char(second));
    }
    return c;
}

} // namespace lookup
