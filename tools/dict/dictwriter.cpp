#include "dictwriter.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dictbuild {
namespace {

// What the tool may write over: a regular file, empty or begun the way its
// own files begin ("■" in Shift-JIS, or the attribution's first words).
bool mayReplace(const QString &path, const struct stat &st)
{
    if (!S_ISREG(st.st_mode))
        return false;
    if (st.st_size == 0)
        return true;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(32);
    return head.startsWith("\x81\xA1") || head.startsWith("Wordlamp dictionary files");
}

QString errnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The temporary files, in a form the signal handler can use.
constexpr int MaxTemporaries = 8;
char temporaries[MaxTemporaries][4096];
volatile sig_atomic_t temporaryCount = 0;
constexpr int CleanupSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

extern "C" void removeTemporariesAndDie(int sig)
{
    for (int i = 0; i < temporaryCount; ++i)
        if (temporaries[i][0])
            ::unlink(temporaries[i]);
    ::signal(sig, SIG_DFL);
    ::raise(sig);
}

class Temporaries {
public:
    Temporaries()
    {
        temporaryCount = 0;
        struct sigaction sa {};
        sa.sa_handler = removeTemporariesAndDie;
        sigemptyset(&sa.sa_mask);
        for (int i = 0; i < 4; ++i)
            sigaction(CleanupSignals[i], &sa, &old_[i]);
    }
    ~Temporaries()
    {
        removeAll();
        for (int i = 0; i < 4; ++i)
            sigaction(CleanupSignals[i], &old_[i], nullptr);
    }
    Temporaries(const Temporaries &) = delete;
    Temporaries &operator=(const Temporaries &) = delete;

    // Creates a new empty temporary file beside `target`; -1 with errno set.
    int create(const QByteArray &target, int *slot)
    {
        if (temporaryCount >= MaxTemporaries) {
            errno = EMFILE;
            return -1;
        }
        const QByteArray pattern = target + ".tmp-XXXXXX";
        if (pattern.size() >= qsizetype(sizeof temporaries[0])) {
            errno = ENAMETOOLONG;
            return -1;
        }
        char name[sizeof temporaries[0]];
        std::memcpy(name, pattern.constData(), size_t(pattern.size()) + 1);
        // The name is not known to the handler until the file exists; hold
        // the signals back for that moment.
        sigset_t block, old;
        blockSet(&block);
        sigprocmask(SIG_BLOCK, &block, &old);
        const int fd = ::mkstemp(name);
        const int saved = errno;
        if (fd >= 0) {
            std::memcpy(temporaries[temporaryCount], name, sizeof name);
            *slot = temporaryCount;
            temporaryCount = temporaryCount + 1;
        }
        sigprocmask(SIG_SETMASK, &old, nullptr);
        errno = saved;
        return fd;
    }
    const char *path(int slot) const { return temporaries[slot]; }
    // The file of `slot` has been renamed away: nothing left to remove.
    void forget(int slot) { temporaries[slot][0] = '\0'; }
    void removeAll()
    {
        for (int i = 0; i < temporaryCount; ++i)
            if (temporaries[i][0]) {
                ::unlink(temporaries[i]);
                temporaries[i][0] = '\0';
            }
        temporaryCount = 0;
    }
    static void blockSet(sigset_t *set)
    {
        sigemptyset(set);
        for (int s : CleanupSignals)
            sigaddset(set, s);
    }

private:
    struct sigaction old_[4];
};

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(std::min<qsizetype>(left, 1 << 20)));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

} // namespace

bool writeFilesAtomically(const QString &folder, const QList<OutputFile> &files, const QString &inputPath,
                          QString *error)
{
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create the folder %1").arg(folder);
        return false;
    }
    const QDir dir(folder);
    struct stat input {};
    const bool haveInput = !inputPath.isEmpty() && ::stat(QFile::encodeName(inputPath).constData(), &input) == 0;

    // Every place is checked before anything is written.
    QList<QByteArray> targets;
    QList<bool> existed;
    for (const OutputFile &f : files) {
        const QString path = dir.filePath(f.name);
        const QByteArray native = QFile::encodeName(path);
        struct stat st {};
        if (::lstat(native.constData(), &st) != 0) {
            if (errno != ENOENT) {
                *error = QStringLiteral("cannot examine %1: %2").arg(path, errnoText(errno));
                return false;
            }
            existed.append(false);
        } else {
            if (haveInput && st.st_dev == input.st_dev && st.st_ino == input.st_ino) {
                *error = QStringLiteral("%1 is the input file; it is not written over").arg(path);
                return false;
            }
            if (!mayReplace(path, st)) {
                *error = QStringLiteral("%1 is not a file that wordlamp-dict wrote; it is left as it is").arg(path);
                return false;
            }
            existed.append(true);
        }
        targets.append(native);
    }

    Temporaries temps;
    QList<int> tempSlots;
    for (qsizetype i = 0; i < files.size(); ++i) {
        int slot = -1;
        const int fd = temps.create(targets[i], &slot);
        if (fd < 0) {
            *error = QStringLiteral("cannot create a file in %1: %2").arg(folder, errnoText(errno));
            return false;
        }
        const bool ok = writeAll(fd, files[i].bytes) && ::fsync(fd) == 0 && ::fchmod(fd, 0644) == 0;
        const int saved = errno;
        if (::close(fd) != 0 && ok) {
            *error = QStringLiteral("cannot write %1: %2").arg(dir.filePath(files[i].name), errnoText(errno));
            return false;
        }
        if (!ok) {
            *error = QStringLiteral("cannot write %1: %2").arg(dir.filePath(files[i].name), errnoText(saved));
            return false;
        }
        tempSlots.append(slot);
    }

    // The pair: both renames with the ending signals held back; the old
    // first file is kept under a second name until the second rename has
    // succeeded, so that a failure can put it back.
    sigset_t block, old;
    Temporaries::blockSet(&block);
    sigprocmask(SIG_BLOCK, &block, &old);
    QByteArray backup;
    bool ok = true;
    QString why;
    if (files.size() >= 2 && existed[0]) {
        int slot = -1;
        const int fd = temps.create(targets[0] + ".old", &slot);
        if (fd >= 0) {
            ::close(fd);
            // A hard link where the file system has them; without one a
            // failing second rename cannot put the old file back.
            if (::unlink(temps.path(slot)) == 0 && ::link(targets[0].constData(), temps.path(slot)) == 0)
                backup = temps.path(slot);
        }
    }
    // The files beside the pair first: when one of them fails, the pair is
    // still the old one.
    QList<qsizetype> order;
    for (qsizetype i = 2; i < files.size(); ++i)
        order.append(i);
    for (qsizetype i = 0; i < std::min<qsizetype>(2, files.size()); ++i)
        order.append(i);
    for (qsizetype i : order) {
        if (::rename(temps.path(tempSlots[i]), targets[i].constData()) != 0) {
            ok = false;
            why = QStringLiteral("cannot put %1 in place: %2").arg(QFile::decodeName(targets[i]), errnoText(errno));
            if (i == 1) { // the first of the pair is new: undo it
                if (!backup.isEmpty())
                    ::rename(backup.constData(), targets[0].constData());
                else if (!existed[0])
                    ::unlink(targets[0].constData());
            }
            break;
        }
        temps.forget(tempSlots[i]);
    }
    const int dirFd = ::open(QFile::encodeName(dir.path()).constData(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    temps.removeAll(); // the backup link too
    sigprocmask(SIG_SETMASK, &old, nullptr);
    if (!ok)
        *error = why;
    return ok;
}

} // namespace dictbuild
