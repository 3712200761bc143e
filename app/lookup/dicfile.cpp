#include "lookup/dicfile.h"

#include "codepage/codepage.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csetjmp>
#include <csignal>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lookup {

// A read-only map of a whole file, with what identifies the file it maps.
struct DicFile::Mapping {
    QString path;
    dev_t device = 0;
    ino_t inode = 0;
    qint64 size = 0;
    qint64 changedSec = 0;
    qint64 changedNsec = 0;
    const char *data = nullptr;

    Mapping() = default;
    Mapping(const Mapping &) = delete;
    Mapping &operator=(const Mapping &) = delete;
    ~Mapping()
    {
        if (data)
            ::munmap(const_cast<char *>(data), size_t(size));
    }
    bool sameFile(const QString &p, const struct stat &st) const
    {
        return p == path && st.st_dev == device && st.st_ino == inode && st.st_size == size &&
               st.st_mtim.tv_sec == changedSec && st.st_mtim.tv_nsec == changedNsec;
    }
};

namespace {

// The maps of the files opened last (a lookup opens one file per direction;
// word paging the file of the entry shown).
class MapCache {
public:
    std::shared_ptr<const DicFile::Mapping> get(const QString &path, int fd, const struct stat &st)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        for (auto &m : maps_)
            if (m && m->sameFile(path, st))
                return m;
        if (st.st_size <= 0)
            return nullptr;
        void *data = ::mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_SHARED, fd, 0);
        if (data == MAP_FAILED)
            return nullptr;
        auto m = std::make_shared<DicFile::Mapping>();
        m->path = path;
        m->device = st.st_dev;
        m->inode = st.st_ino;
        m->size = st.st_size;
        m->changedSec = st.st_mtim.tv_sec;
        m->changedNsec = st.st_mtim.tv_nsec;
        m->data = static_cast<const char *>(data);
        // The same path under another identity is stale: it goes first.
        auto slot = std::find_if(maps_.begin(), maps_.end(), [&](const auto &o) { return o && o->path == path; });
        if (slot == maps_.end())
            slot = std::find(maps_.begin(), maps_.end(), nullptr);
        if (slot == maps_.end()) {
            std::rotate(maps_.begin(), maps_.begin() + 1, maps_.end());
            slot = maps_.end() - 1;
        }
        *slot = m;
        return m;
    }

private:
    std::mutex mutex_;
    std::array<std::shared_ptr<const DicFile::Mapping>, 4> maps_;
};

MapCache &mapCache()
{
    static MapCache cache;
    return cache;
}

// Copying out of a map with a guard: when the file has shrunk under the map,
// touching the lost pages raises SIGBUS, which then ends the copy instead of
// the program. Any other SIGBUS goes to the disposition there was before.
thread_local sigjmp_buf *busJump = nullptr;
struct sigaction previousBus;

extern "C" void onBus(int sig, siginfo_t *info, void *context)
{
    if (sigjmp_buf *jump = busJump) {
        busJump = nullptr;
        siglongjmp(*jump, 1);
    }
    if (previousBus.sa_flags & SA_SIGINFO) {
        if (previousBus.sa_sigaction) {
            previousBus.sa_sigaction(sig, info, context);
            return;
        }
    } else if (previousBus.sa_handler != SIG_DFL && previousBus.sa_handler != SIG_IGN) {
        previousBus.sa_handler(sig);
        return;
    }
    // The fault repeats on return, now under the default disposition.
    ::signal(SIGBUS, SIG_DFL);
}

void installBusGuard()
{
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction sa {};
        sa.sa_sigaction = onBus;
        sa.sa_flags = SA_SIGINFO | SA_NODEFER | SA_ONSTACK;
        sigemptyset(&sa.sa_mask);
        sigaction(SIGBUS, &sa, &previousBus);
    });
}

bool guardedCopy(char *to, const char *from, size_t size)
{
    sigjmp_buf jump;
    if (sigsetjmp(jump, 0) != 0)
        return false;
    busJump = &jump;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    std::memcpy(to, from, size);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    busJump = nullptr;
    return true;
}

bool isBlank(char c)
{
    return c == '\r' || c == '\n';
}

} // namespace

DicFile::~DicFile()
{
    close();
}

bool DicFile::open(const QString &path)
{
    close();
    error_.clear();
    failed_ = false;
    path_ = path;
    const QByteArray native = QFile::encodeName(path);
    // Without blocking: a FIFO in the place of a file must not stop the
    // program (it is refused below).
    fd_ = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) {
        error_ = QStringLiteral("cannot open %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    struct stat st {};
    const bool statted = ::fstat(fd_, &st) == 0;
    if (!statted || !S_ISREG(st.st_mode)) {
        error_ = statted ? QStringLiteral("%1 is not a file").arg(path)
                         : QStringLiteral("cannot open %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    installBusGuard();
    map_ = mapCache().get(path, fd_, st);
    open_ = true;
    cursor_ = 0;
    length_ = contentEnd(st.st_size);
    if (failed_)
        length_ = 0;
    return true;
}

void DicFile::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    map_.reset();
    open_ = false;
    for (Piece &p : pieces_) {
        p.start = 0;
        p.data.clear();
        p.lastUse = 0;
    }
    length_ = 0;
    cursor_ = 0;
}

qint64 DicFile::contentEnd(qint64 size)
{
    // Back over line ends, one Ctrl+Z and line ends again; then forward over
    // the line end of the last line. A tail of blank lines longer than the
    // piece looked at stays part of the file.
    const qint64 look = std::min<qint64>(size, 4096);
    if (look == 0)
        return 0;
    QByteArray tail(qsizetype(look), Qt::Uninitialized);
    if (!copyBytes(tail.data(), size - look, qsizetype(look)))
        return size;
    qsizetype e = tail.size();
    while (e > 0 && isBlank(tail[e - 1]))
        --e;
    if (e > 0 && tail[e - 1] == '\x1A')
        --e;
    while (e > 0 && isBlank(tail[e - 1]))
        --e;
    if (e == 0)
        return look < size ? size : 0;
    if (e < tail.size() && tail[e] == '\r')
        ++e;
    if (e < tail.size() && tail[e] == '\n')
        ++e;
    return size - look + e;
}

void DicFile::seek(qint64 pos)
{
    cursor_ = std::clamp<qint64>(pos - 1, 0, length_);
}

void DicFile::fail(const QString &why)
{
    if (!failed_) {
        failed_ = true;
        error_ = why;
    }
}

bool DicFile::copyBytes(char *to, qint64 offset, qsizetype size)
{
    if (map_) {
        if (offset + size > map_->size || !guardedCopy(to, map_->data + offset, size_t(size))) {
            fail(QStringLiteral("cannot read %1: the file changed while it was read").arg(path_));
            return false;
        }
        return true;
    }
    qsizetype done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd_, to + done, size_t(size - done), off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            fail(got < 0 ? QStringLiteral("cannot read %1: %2").arg(path_, QString::fromLocal8Bit(std::strerror(errno)))
                         : QStringLiteral("cannot read %1: the file changed while it was read").arg(path_));
            return false;
        }
        done += got;
    }
    return true;
}

bool DicFile::readInto(QByteArray &buffer, qint64 offset, qsizetype size)
{
    if (failed_ || !open_ || size <= 0)
        return false;
    const qsizetype old = buffer.size();
    buffer.resize(old + size);
    if (!copyBytes(buffer.data() + old, offset, size)) {
        buffer.resize(old);
        return false;
    }
    bytesRead_ += quint64(size);
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
    oldest->data.resize(0); // the allocation stays for the next piece
    oldest->start = offset;
    if (!readInto(oldest->data, offset, std::min<qint64>(ChunkSize, length_ - offset))) {
        oldest->lastUse = 0;
        return nullptr;
    }
    oldest->lastUse = ++useClock_;
    return oldest;
}

bool DicFile::extend(Piece &piece, qint64 lineStart)
{
    if (piece.end() >= length_)
        return false;
    if (piece.end() - lineStart >= MaxLineBytes) {
        fail(QStringLiteral("the line at byte %1 of %2 is longer than %3 KiB")
                 .arg(lineStart + 1)
                 .arg(path_)
                 .arg(MaxLineBytes / 1024));
        return false;
    }
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
        if (!extend(*p, cursor_))
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
        if (lf >= 0 || !extend(*p, cursor_)) {
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
