// The connection to the server and the server's notifications.

#include "orrin/speechdstate.h"

#include <cstdlib>
#include <pthread.h>
#include <thread>
#include <vector>

namespace {

// libspeechd's callbacks carry no user pointer: the sessions are found by the
// client id the server gave their connection.
struct Registry {
    std::mutex mutex;
    std::multimap<int, std::weak_ptr<SpeechdSession::State>> byClient;
};

Registry &registry()
{
    static Registry *r = new Registry; // never destroyed: event threads may outlive main()
    return *r;
}

} // namespace

// Runs on libspeechd's event thread of one connection.
static void onNotification(size_t msgId, size_t clientId, SPDNotificationType type)
{
    // spd_close cancels this thread; never let that happen inside our code.
    int oldState = 0;
    pthread_setcancelstate(PTHREAD_CANCEL_DISABLE, &oldState);
    std::vector<std::shared_ptr<SpeechdSession::State>> states;
    {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        auto [from, to] = r.byClient.equal_range(int(clientId));
        for (auto it = from; it != to; ++it) {
            if (auto s = it->second.lock())
                states.push_back(std::move(s));
        }
    }
    for (const auto &s : states)
        s->notified(int(msgId), type);
    states.clear();
    pthread_setcancelstate(oldState, &oldState);
}

void SpeechdSession::State::notified(int id, SPDNotificationType type)
{
    if (type != SPD_EVENT_END && type != SPD_EVENT_CANCEL)
        return;
    quint64 request = 0;
    {
        std::lock_guard lock(messageMutex);
        auto it = requests.find(id);
        if (it == requests.end()) {
            if (endedEarly.size() > 256)
                endedEarly.clear();
            endedEarly.insert(id);
            return;
        }
        request = it->second;
        requests.erase(it);
    }
    emitEvent({SpeechdEvent::Kind::Ended, request, {}});
}

void SpeechdSession::State::registerMessage(int id, quint64 request)
{
    {
        std::lock_guard lock(messageMutex);
        if (!endedEarly.erase(id)) {
            requests[id] = request;
            return;
        }
    }
    emitEvent({SpeechdEvent::Kind::Ended, request, {}});
}

bool SpeechdSession::State::broken() const
{
    // libspeechd closes the stream when the server goes away.
    return conn && __atomic_load_n(&conn->stream, __ATOMIC_ACQUIRE) == nullptr;
}

void SpeechdSession::State::dropIfBroken()
{
    if (!broken())
        return;
    closeConnection();
    lastError = QStringLiteral("the connection to speech-dispatcher broke");
    emitEvent({SpeechdEvent::Kind::Disconnected, 0, lastError});
}

bool SpeechdSession::State::ensureConnected(bool force)
{
    if (conn && !broken())
        return true;
    dropIfBroken();
    const qint64 now = speechdNowMs();
    if (!force && lastAttempt >= 0 && now - lastAttempt < options.retryIntervalMs)
        return false;
    lastAttempt = now;
    return connect(options.autospawn);
}

bool SpeechdSession::State::connect(bool spawn)
{
    busyFor(options.connectTimeoutMs);
    char *error = nullptr;
    SPDConnection *c = spd_open2("wordlamp", "main", nullptr, SPD_MODE_THREADED, nullptr, spawn ? 1 : 0, &error);
    if (!c) {
        lastError = error ? QString::fromLocal8Bit(error) : QStringLiteral("cannot connect to speech-dispatcher");
        std::free(error);
        emitEvent({SpeechdEvent::Kind::Disconnected, 0, lastError});
        return false;
    }
    conn = c;
    if (stopping()) {
        closeConnection();
        return false;
    }
    c->callback_begin = onNotification;
    c->callback_end = onNotification;
    c->callback_cancel = onNotification;
    busyFor(options.commandTimeoutMs);
    const auto events = SPDNotification(SPD_BEGIN | SPD_END | SPD_CANCEL);
    if (spd_set_notification_on(c, events) != 0 || (clientId = spd_get_client_id(c)) < 0) {
        closeConnection();
        lastError = QStringLiteral("speech-dispatcher does not answer");
        emitEvent({SpeechdEvent::Kind::Disconnected, 0, lastError});
        return false;
    }
    {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        r.byClient.emplace(clientId, weak_from_this());
    }
    appliedLanguage.clear();
    ssmlMode = false;
    if (options.rate != 0)
        spd_set_voice_rate(c, options.rate);
    char *m = spd_get_output_module(c);
    module = m ? QString::fromUtf8(m) : QString();
    std::free(m);

    readings = KanjiReader::wanted(options.kanjiReadings, module);
    if (readings && !readerTried) {
        readerTried = true;
        reader = KanjiReader::load(options.mecabDictionary); // none: speak kanji unconverted
    }
    emitEvent({SpeechdEvent::Kind::Connected, 0, module});
    return true;
}

void SpeechdSession::State::closeConnection()
{
    if (!conn)
        return;
    if (clientId >= 0) {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        auto [from, to] = r.byClient.equal_range(clientId);
        for (auto it = from; it != to;) {
            auto s = it->second.lock();
            it = (!s || s.get() == this) ? r.byClient.erase(it) : std::next(it);
        }
        clientId = -1;
    }
    if (broken()) {
        // The event thread has closed the socket and is ending; give it a
        // moment to finish, and keep spd_close from closing the socket's
        // number again (it may belong to someone else by now).
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        conn->socket = -1;
    }
    spd_close(conn);
    conn = nullptr;

    // Messages still in the server's hands are lost with the connection.
    std::vector<quint64> lost;
    {
        std::lock_guard lock(messageMutex);
        for (const auto &[id, request] : requests)
            lost.push_back(request);
        requests.clear();
        endedEarly.clear();
    }
    for (quint64 request : lost)
        emitEvent({SpeechdEvent::Kind::Ended, request, {}});
}
