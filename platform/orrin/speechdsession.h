#pragma once
// One connection to speech-dispatcher, driven by a thread of its own.
//
// libspeechd blocks in every call until the server answers, and a stuck
// server never answers; so no libspeechd call is ever made on the caller's
// thread. The caller posts commands, which return at once; the session's
// thread carries them out in order and reports what happened through the
// sink (called on the session's thread or on libspeechd's event thread).
//
// The session notices a dead server when a call fails on a broken socket,
// and then connects again (starting the server when autospawn is on) before
// the next command, at most once per retry interval. A text that finds no
// server waits for one (reported as Waiting), trying again every retry
// interval for at most waitForServerMs, so that a reading goes on where it
// was once the server is back; a Cancel ends the wait. A session whose thread
// is stuck in a call longer than allowed is `overdue()`; its owner abandons
// it and starts a new one.

#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

struct SpeechdEvent {
    enum class Kind {
        Connected,    // detail: the output module
        Disconnected, // detail: why
        Ended,        // request: the speech ended, was cancelled or never started
        Waiting,      // request: no server to take it; the session is connecting again
    };
    Kind kind;
    quint64 request = 0;
    QString detail;
};

// The answer to a command that the caller waits for (with a time limit).
class SpeechdReply {
public:
    void set(bool ok, const QString &detail = {});
    // False when no answer came within `ms` milliseconds.
    bool waitFor(int ms);
    bool ok() const;
    QString detail() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    bool done_ = false;
    bool ok_ = false;
    QString detail_;
};

struct SpeechdCommand {
    enum class Kind { Connect, Speak, Cancel, Signal, SetRate, Setup, Flush, Probe };
    Kind kind;
    quint64 request = 0; // Speak
    QString text;        // Speak
    int mode = 0;        // Speak: 1 for the lone character at the caret
    int value = 0;       // Signal value, SetRate rate
    int code = 0;        // Signal code
    std::shared_ptr<SpeechdReply> reply;
};

class SpeechdSession {
public:
    struct Options {
        bool autospawn = true;
        int connectTimeoutMs = 10000; // one connection attempt, autospawn included
        int commandTimeoutMs = 3000;  // one call to the server
        int retryIntervalMs = 1000;   // between failed connection attempts
        int waitForServerMs = 10000;  // a text waits this long for a server that went away
        QString kanjiReadings;        // "0"/"1" or empty (see KanjiReader::wanted)
        QString mecabDictionary;      // empty: the usual places
        QString soundFolder;          // where the signal sounds are written
        int rate = 0;                 // speech rate, -100 .. 100
    };
    using Sink = std::function<void(const SpeechdEvent &)>;

    SpeechdSession(const Options &options, Sink sink);
    ~SpeechdSession(); // close(1000)

    // Stops reporting at once and lets the thread finish the queue and end,
    // waiting up to `waitMs` for it; a thread that is not done by then drops
    // the rest, and one stuck in a call is left to end on its own when the
    // server answers or goes away.
    void close(int waitMs);

    // Queues a command; returns at once. Cancel first drops every Speak and
    // Signal still waiting in the queue.
    void post(SpeechdCommand command);

    // True while the thread has been inside one step longer than allowed.
    bool overdue() const;
    // How long the thread has been inside its current step (0 when idle): a
    // server that does not answer, or one being waited for.
    qint64 busyMs() const;
    // True once the thread has ended (a closed session stuck in a call ends
    // when the server answers or goes away).
    bool finished() const;

    SpeechdSession(const SpeechdSession &) = delete;
    SpeechdSession &operator=(const SpeechdSession &) = delete;

    struct State; // shared by the session's thread and libspeechd's event thread

private:
    std::shared_ptr<State> state_;
    std::thread thread_;
};
