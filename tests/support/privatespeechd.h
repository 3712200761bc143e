#pragma once
// A speech-dispatcher server of the test's own, never the system's: its
// configuration lives in a temporary folder, it plays no sound, and its only
// output module, "recorder", appends every text that reaches the synthesiser
// (with the language and rate it was given) to a file the test reads back.
// Point libspeechd at it with SPEECHD_ADDRESS=address().
//
// A text that holds HoldWord keeps the synthesiser busy for 30 seconds (until
// it is cancelled), as a long reading does.

#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace testsupport {

class PrivateSpeechd {
public:
    PrivateSpeechd();
    ~PrivateSpeechd(); // stop()

    bool isValid() const { return dir_.isValid(); }

    // Starts the server and waits until it accepts connections.
    bool start(int timeoutMs = 15000);
    // Ends the server: SIGTERM, then SIGKILL after 3 seconds.
    void stop();
    // Ends the server at once, as a crash would (SIGKILL).
    void kill();
    // Freezes and thaws the server (SIGSTOP, SIGCONT): a server that stops answering.
    void suspend();
    void resume();
    bool isRunning() const;
    qint64 pid() const;

    QString folder() const { return dir_.path(); }
    QString socketPath() const;
    QString address() const; // the value for SPEECHD_ADDRESS
    QString recordingPath() const;

    struct Synthesis {
        QString text;
        QString language;
        QString rate;
    };
    // What reached the synthesiser so far, in order.
    QList<Synthesis> recording() const;
    QStringList recordedTexts() const;
    void clearRecording() const;

    static constexpr const char *HoldWord = "HOLD";

    // Writes the same configuration as the user's own in
    // xdgConfigHome/speech-dispatcher, serving socketPath(): a server that
    // libspeechd starts by itself (autospawn) then uses it.
    bool writeUserConfig(const QString &xdgConfigHome) const;
    // The process id of the server that libspeechd started with
    // XDG_RUNTIME_DIR set to `runtimeDir` (from its pid file), or -1.
    static qint64 autospawnedPid(const QString &runtimeDir);
    // Ends a server this object did not start (one started by autospawn):
    // SIGTERM, then SIGKILL after 3 seconds. True once it is gone.
    static bool endServer(qint64 pid);
    // Whether something accepts connections on the socket.
    static bool accepts(const QString &socketPath);

private:
    bool writeConfig(const QString &confDir, bool forAutospawn) const;

    QTemporaryDir dir_;
    std::unique_ptr<QProcess> process_;
    bool suspended_ = false;
};

} // namespace testsupport
