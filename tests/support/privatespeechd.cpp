#include "privatespeechd.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

#include <csignal>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace testsupport {

namespace {

constexpr char FieldSeparator = '\x1f';
constexpr char RecordSeparator = '\x1e';

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

// A connected socket to the server, or -1.
int connectTo(const QString &socketPath)
{
    const QByteArray path = QFile::encodeName(socketPath);
    sockaddr_un addr{};
    if (path.size() >= qsizetype(sizeof addr.sun_path))
        return -1;
    addr.sun_family = AF_UNIX;
    memcpy(addr.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Whether the process still runs (a zombie waiting for its parent does not).
bool alive(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype paren = line.lastIndexOf(')');
    return paren >= 0 && line.size() > paren + 2 && line[paren + 2] != 'Z' && line[paren + 2] != 'X';
}

bool waitUntilGone(qint64 pid, int ms)
{
    QDeadlineTimer deadline(ms);
    while (alive(pid)) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(20);
    }
    return true;
}

} // namespace

PrivateSpeechd::PrivateSpeechd() : dir_(QDir::tempPath() + QStringLiteral("/wlsd-XXXXXX"))
{
    if (dir_.isValid()) {
        QDir(dir_.path()).mkpath(QStringLiteral("conf/modules"));
        QDir(dir_.path()).mkpath(QStringLiteral("log"));
        writeConfig(dir_.filePath(QStringLiteral("conf")), false);
    }
}

PrivateSpeechd::~PrivateSpeechd()
{
    stop();
}

QString PrivateSpeechd::socketPath() const
{
    return dir_.filePath(QStringLiteral("sock"));
}

QString PrivateSpeechd::address() const
{
    return QStringLiteral("unix_socket:") + socketPath();
}

QString PrivateSpeechd::recordingPath() const
{
    return dir_.filePath(QStringLiteral("recording"));
}

bool PrivateSpeechd::writeConfig(const QString &confDir, bool forAutospawn) const
{
    QByteArray conf = "LogLevel 3\n"
                      "LogDir \"" +
                      QFile::encodeName(dir_.filePath(QStringLiteral("log"))) +
                      "\"\n"
                      "AudioOutputMethod \"alsa\"\n"
                      "AudioALSADevice \"null\"\n"
                      "AddModule \"recorder\" \"sd_generic\" \"recorder.conf\"\n"
                      "DefaultModule recorder\n"
                      "DefaultLanguage \"en\"\n";
    if (forAutospawn) {
        conf += "CommunicationMethod \"unix_socket\"\n"
                "SocketPath \"" +
                QFile::encodeName(socketPath()) + "\"\n";
    }
    // The module appends "text US language US rate RS" to the recording; the
    // generic module quotes $DATA for the shell's single quotes, and replaces
    // only its first occurrence. The
    // delimiter never occurs and the chunk is large, so every text reaches
    // the synthesiser whole.
    const QByteArray recording = QFile::encodeName(recordingPath());
    const QByteArray module =
        "GenericExecuteSynth \"d='$DATA'; printf '%s\\\\037%s\\\\037%s\\\\036' \\\"$d\\\" '$LANGUAGE' '$RATE' >> '" +
        recording + "'; case \\\"$d\\\" in *" + HoldWord +
        "*) exec sleep 30;; esac\"\n"
        "GenericMaxChunkLength 100000\n"
        "GenericDelimiters \"\x1f\"\n"
        "GenericLanguage \"en\" \"en\" \"utf-8\"\n"
        "GenericLanguage \"ja\" \"ja\" \"utf-8\"\n"
        "AddVoice \"en\" \"MALE1\" \"en\"\n"
        "AddVoice \"ja\" \"MALE1\" \"ja\"\n";
    return writeFile(confDir + QStringLiteral("/speechd.conf"), conf) &&
           writeFile(confDir + QStringLiteral("/modules/recorder.conf"), module);
}

bool PrivateSpeechd::writeUserConfig(const QString &xdgConfigHome) const
{
    const QString confDir = xdgConfigHome + QStringLiteral("/speech-dispatcher");
    return QDir().mkpath(confDir + QStringLiteral("/modules")) && writeConfig(confDir, true);
}

bool PrivateSpeechd::start(int timeoutMs)
{
    if (!dir_.isValid())
        return false;
    if (isRunning())
        return true;
    const QString program = QStandardPaths::findExecutable(QStringLiteral("speech-dispatcher"));
    if (program.isEmpty())
        return false;
    process_ = std::make_unique<QProcess>();
    process_->setProgram(program);
    process_->setArguments({QStringLiteral("-s"), QStringLiteral("-t"), QStringLiteral("0"), QStringLiteral("-C"),
                            dir_.filePath(QStringLiteral("conf")), QStringLiteral("-c"), QStringLiteral("unix_socket"),
                            QStringLiteral("-S"), socketPath(), QStringLiteral("-P"),
                            dir_.filePath(QStringLiteral("pid")), QStringLiteral("-L"),
                            dir_.filePath(QStringLiteral("log"))});
    process_->setStandardOutputFile(dir_.filePath(QStringLiteral("log/stdout.txt")), QIODevice::Append);
    process_->setStandardErrorFile(dir_.filePath(QStringLiteral("log/stderr.txt")), QIODevice::Append);
    process_->start();
    if (!process_->waitForStarted(timeoutMs))
        return false;
    suspended_ = false;
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (accepts(socketPath()))
            return true;
        if (process_->state() != QProcess::Running)
            return false;
        QTest::qWait(20);
    }
    return false;
}

void PrivateSpeechd::stop()
{
    if (!process_)
        return;
    if (process_->state() != QProcess::NotRunning) {
        resume();
        process_->terminate();
        if (!process_->waitForFinished(3000)) {
            process_->kill();
            process_->waitForFinished(3000);
        }
    }
    process_.reset();
}

void PrivateSpeechd::kill()
{
    if (!process_)
        return;
    process_->kill();
    process_->waitForFinished(3000);
    process_.reset();
}

void PrivateSpeechd::suspend()
{
    if (isRunning() && ::kill(pid_t(pid()), SIGSTOP) == 0)
        suspended_ = true;
}

void PrivateSpeechd::resume()
{
    if (suspended_ && process_ && ::kill(pid_t(pid()), SIGCONT) == 0)
        suspended_ = false;
}

bool PrivateSpeechd::isRunning() const
{
    return process_ && process_->state() == QProcess::Running;
}

qint64 PrivateSpeechd::pid() const
{
    return process_ ? process_->processId() : -1;
}

QList<PrivateSpeechd::Synthesis> PrivateSpeechd::recording() const
{
    QFile f(recordingPath());
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QList<Synthesis> out;
    const QList<QByteArray> records = f.readAll().split(RecordSeparator);
    for (const QByteArray &record : records) {
        const QList<QByteArray> fields = record.split(FieldSeparator);
        if (fields.size() != 3)
            continue; // the last, empty piece, or a record still being written
        out.append({QString::fromUtf8(fields[0]), QString::fromUtf8(fields[1]), QString::fromUtf8(fields[2])});
    }
    return out;
}

QStringList PrivateSpeechd::recordedTexts() const
{
    QStringList texts;
    for (const Synthesis &s : recording())
        texts << s.text;
    return texts;
}

void PrivateSpeechd::clearRecording() const
{
    QFile::remove(recordingPath());
}

bool PrivateSpeechd::accepts(const QString &socketPath)
{
    const int fd = connectTo(socketPath);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

qint64 PrivateSpeechd::autospawnedPid(const QString &runtimeDir)
{
    QFile f(runtimeDir + QStringLiteral("/speech-dispatcher/pid/speech-dispatcher.pid"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    bool ok = false;
    const qint64 pid = f.readAll().trimmed().toLongLong(&ok);
    return ok ? pid : -1;
}

bool PrivateSpeechd::endServer(qint64 pid)
{
    if (pid <= 0 || !alive(pid))
        return true;
    ::kill(pid_t(pid), SIGCONT);
    ::kill(pid_t(pid), SIGTERM);
    if (waitUntilGone(pid, 3000))
        return true;
    ::kill(pid_t(pid), SIGKILL);
    return waitUntilGone(pid, 3000);
}

} // namespace testsupport
