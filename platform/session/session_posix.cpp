#include "session/session.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace session {

namespace {
// A folder of the program's own inside the user's runtime folder, open to
// the user alone; empty when there is none to be had. The runtime folder's
// own mode is never changed: it may be shared (XDG_RUNTIME_DIR=/tmp). Only a
// runtime folder that is missing, and so made here, is made private.
QString privateRuntimeFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        return {};
    if (!QFileInfo::exists(runtime)) {
        if (!QDir().mkpath(runtime))
            return {};
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QByteArray own = QFile::encodeName(QDir(runtime).absoluteFilePath(QStringLiteral("wordlamp")));
    if (::mkdir(own.constData(), 0700) != 0 && errno != EEXIST)
        return {};
    // An existing one must be a folder of this user's that nobody else may
    // enter (not a link, and not made by someone else to catch the socket).
    struct stat st = {};
    if (::lstat(own.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() ||
        (st.st_mode & 077) != 0)
        return {};
    return QFile::decodeName(own);
}
} // namespace

QString instanceServerName()
{
    const QString base = QStringLiteral("wordlamp-%1").arg(::getuid());
    const QString folder = privateRuntimeFolder();
    if (folder.isEmpty())
        return base; // the local socket then lives in the temporary folder
    const QString path = QDir(folder).absoluteFilePath(base);
    // A socket path must fit into sockaddr_un; a very deep runtime folder is
    // named by a digest of its path instead, in the temporary folder.
    if (QFile::encodeName(path).size() < qsizetype(sizeof(sockaddr_un::sun_path)) - 1)
        return path;
    const QByteArray digest = QCryptographicHash::hash(QFile::encodeName(folder), QCryptographicHash::Sha1);
    return base + u'-' + QString::fromLatin1(digest.toHex().left(12));
}

// The signal handler may only write to a pipe; the notifier reads it on the
// watcher's thread.
namespace {
int pipeFds[2] = {-1, -1};
const int watchedSignals[] = {SIGTERM, SIGHUP, SIGINT};

extern "C" void onSignal(int signalNumber)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], &byte, 1);
    errno = saved;
}
} // namespace

struct TerminationWatcher::Private {
    QSocketNotifier *notifier = nullptr;
    struct sigaction previous[std::size(watchedSignals)] = {};
};

TerminationWatcher::TerminationWatcher(QObject *parent) : QObject(parent), d(new Private)
{
    Q_ASSERT_X(pipeFds[0] < 0, "TerminationWatcher", "only one watcher at a time");
    if (::pipe(pipeFds) != 0) {
        pipeFds[0] = pipeFds[1] = -1;
        return;
    }
    for (int fd : pipeFds) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    d->notifier = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    connect(d->notifier, &QSocketNotifier::activated, this, [this] {
        unsigned char byte = 0;
        while (::read(pipeFds[0], &byte, 1) == 1)
            emit terminationRequested(byte);
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(watchedSignals); ++i)
        ::sigaction(watchedSignals[i], &action, &d->previous[i]);
}

TerminationWatcher::~TerminationWatcher()
{
    if (pipeFds[0] >= 0) {
        for (std::size_t i = 0; i < std::size(watchedSignals); ++i)
            ::sigaction(watchedSignals[i], &d->previous[i], nullptr);
        delete d->notifier;
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        pipeFds[0] = pipeFds[1] = -1;
    }
    delete d;
}

} // namespace session
