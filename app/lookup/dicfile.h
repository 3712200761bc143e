#pragma once
// The positioned byte reader for dictionary files. One file at a time is
// opened, read-only, and closed when the reader is destroyed or closed, so an
// operation that keeps its reader on the stack closes the file whichever way
// it ends. Positions are 1-based byte offsets, as in the position record.
//
// Reads are small (a few hundred bytes around the position asked for), and
// the last few pieces read are kept, so that going back to a position just
// read costs no second read. A piece comes from a memory map of the file,
// kept between openings while the file stays the same (same inode, size and
// time of change), else from one positioned read. A map that the file
// shrinks under (truncated while it is read) makes the read fail, never
// the program.
//
// What a text file may carry after its last line is no line: empty lines
// and one Ctrl+Z (0x1A) at the end of the file lie beyond length(). A line
// longer than MaxLineBytes is an error, so that a file without line breaks
// is not read whole.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <memory>

namespace lookup {

class DicFile {
public:
    DicFile() = default;
    ~DicFile();
    DicFile(const DicFile &) = delete;
    DicFile &operator=(const DicFile &) = delete;

    // Opens `path` for reading only (closing any file open before). False
    // with errorString() set when it cannot be opened or is not a file.
    bool open(const QString &path);
    void close();
    bool isOpen() const { return open_; }
    QString fileName() const { return path_; }

    // Why open() failed, or why a read failed.
    QString errorString() const { return error_; }
    // A read failed since the file was opened; reads then behave as at the
    // end of the file.
    bool failed() const { return failed_; }

    // Length of the file in bytes, without the empty lines and the Ctrl+Z
    // that may follow its last line.
    qint64 length() const { return length_; }
    // Sets the read position (1 is the first byte); clamped to 1 .. length + 1.
    void seek(qint64 pos);
    // Position of the next byte to be read.
    qint64 pos() const { return cursor_ + 1; }
    bool atEnd() const { return cursor_ >= length_; }

    // Reads one line: up to the next LF, which is consumed; a CR before it is
    // dropped too, so CR LF and LF line ends both work. At the end of the
    // file an empty line. The view stays valid until the next call.
    QByteArrayView readLineView();
    QByteArray readLine() { return readLineView().toByteArray(); }
    // Reads the rest of the current line and drops it.
    void skipLine();
    // Reads the line only as far as the first " : " (which is not consumed),
    // or the whole line when it has none; `separatorFound` tells which. The
    // position after it is left inside the line.
    QByteArrayView readLineHead(bool *separatorFound);
    // Reads one byte, -1 at the end of the file.
    int readByte();
    // Reads one character: two bytes when the first is a lead byte, else one.
    QByteArray readChar();

    // Bytes read from the file since this reader was created.
    quint64 bytesRead() const { return bytesRead_; }

    // Size of each read.
    static constexpr qsizetype ChunkSize = 128;
    // The longest line read.
    static constexpr qsizetype MaxLineBytes = 256 * 1024;

    struct Mapping;

private:
    struct Piece {
        qint64 start = 0; // 0-based offset of data[0]
        QByteArray data;
        quint64 lastUse = 0;
        qint64 end() const { return start + data.size(); }
    };
    // The piece that holds the byte at `offset`, reading one when none does;
    // nullptr at the end of the file or after a failed read.
    Piece *pieceAt(qint64 offset);
    // Reads more bytes onto the end of `piece`; false at the end of the file,
    // when the read fails, or when the line that starts at `lineStart` (an
    // offset) would grow beyond MaxLineBytes.
    bool extend(Piece &piece, qint64 lineStart);
    bool readInto(QByteArray &buffer, qint64 offset, qsizetype size);
    bool copyBytes(char *to, qint64 offset, qsizetype size);
    void fail(const QString &why);
    // Where the lines end: the file size less what follows the last line.
    qint64 contentEnd(qint64 size);

    bool open_ = false;
    int fd_ = -1;
    std::shared_ptr<const Mapping> map_;
    QString path_;
    QString error_;
    bool failed_ = false;
    qint64 length_ = 0;
    qint64 cursor_ = 0; // 0-based offset of the next byte
    std::array<Piece, 4> pieces_;
    quint64 useClock_ = 0;
    quint64 bytesRead_ = 0;
};

} // namespace lookup
