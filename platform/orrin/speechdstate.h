#pragma once
// The inside of a speech-dispatcher session, shared by its two source files:
// speechdsession.cpp (the queue and the commands) and speechdconnection.cpp
// (the connection and the server's notifications).

#include "orrin/kanjireader.h"
#include "orrin/speechdsession.h"

#include <libspeechd.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <map>
#include <unordered_map>
#include <unordered_set>

inline qint64 speechdNowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

struct SpeechdSession::State : std::enable_shared_from_this<State> {
    explicit State(const Options &o, Sink s) : options(o), sink(std::move(s)) {}

    // Shared with the caller's thread.
    std::mutex queueMutex;
    std::condition_variable queueCv;
    std::deque<SpeechdCommand> queue;
    bool quit = false;     // stop now
    bool draining = false; // stop when the queue is empty
    bool exited = false;
    std::atomic<qint64> busyUntil{0}; // on speechdNowMs(); 0 while waiting for work
    std::atomic<qint64> busySince{0}; // on speechdNowMs(); when the current step began, 0 while idle

    // Shared with libspeechd's event thread.
    std::mutex sinkMutex;
    std::mutex messageMutex;
    std::unordered_map<int, quint64> requests; // message id -> request
    std::unordered_set<int> endedEarly;        // ended before its id was known

    // The session's thread only.
    Options options;
    Sink sink;
    SPDConnection *conn = nullptr;
    int clientId = -1;
    QString appliedLanguage;
    bool ssmlMode = false;
    qint64 lastAttempt = -1;
    QString lastError;
    QString module;
    bool readings = false;
    std::unique_ptr<KanjiReader> reader;
    bool readerTried = false;
    std::map<std::pair<int, int>, QString> soundFiles;

    void run();
    void execute(SpeechdCommand &c);
    void speak(const SpeechdCommand &c);
    void signal(int value, int code);
    bool ensureConnected(bool force);
    bool connect(bool spawn);
    bool broken() const;
    void closeConnection();
    void dropIfBroken();
    bool applyLanguage(const QString &language);
    int say(const QString &text, int mode);
    void registerMessage(int id, quint64 request);
    void notified(int id, SPDNotificationType type);
    void emitEvent(const SpeechdEvent &e);
    bool stopping();
    // Waits up to `ms` for a reason to give up waiting: the session closing
    // or a Cancel in the queue. True when there is one.
    bool interrupted(int ms);
    void busyFor(int ms) { busyUntil = speechdNowMs() + ms; }
};
