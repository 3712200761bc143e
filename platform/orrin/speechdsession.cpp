#include "orrin/speechdsession.h"

#include "orrin/kanjireader.h"
#include "orrin/signalsounds.h"
#include "orrin/speechtext.h"

#include <libspeechd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <deque>
#include <map>
#include <pthread.h>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

qint64 nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QString xmlEscaped(const QString &text)
{
    QString out = text.toHtmlEscaped(); // & < > "
    return out.replace(u'\'', QStringLiteral("&apos;"));
}

} // namespace

// ---------------------------------------------------------------------------

void SpeechdReply::set(bool ok, const QString &detail)
{
    {
        std::lock_guard lock(mutex_);
        done_ = true;
        ok_ = ok;
        detail_ = detail;
    }
    cv_.notify_all();
}

bool SpeechdReply::waitFor(int ms)
{
    std::unique_lock lock(mutex_);
    return cv_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return done_; });
}

bool SpeechdReply::ok() const
{
    std::lock_guard lock(mutex_);
    return done_ && ok_;
}

QString SpeechdReply::detail() const
{
    std::lock_guard lock(mutex_);
    return detail_;
}

// ---------------------------------------------------------------------------

struct SpeechdSession::State : std::enable_shared_from_this<State> {
    explicit State(const Options &o, Sink s) : options(o), sink(std::move(s)) {}

    // Shared with the caller's thread.
    std::mutex queueMutex;
    std::condition_variable queueCv;
    std::deque<SpeechdCommand> queue;
    bool quit = false;     // stop now
    bool draining = false; // stop when the queue is empty
    bool exited = false;
    std::atomic<qint64> busyUntil{0}; // on nowMs(); 0 while waiting for work

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
    void busyFor(int ms) { busyUntil = nowMs() + ms; }
};

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

void SpeechdSession::State::emitEvent(const SpeechdEvent &e)
{
    std::lock_guard lock(sinkMutex);
    if (sink)
        sink(e);
}

bool SpeechdSession::State::stopping()
{
    std::lock_guard lock(queueMutex);
    return quit;
}

void SpeechdSession::State::run()
{
    // A write to a socket the server has closed must fail, not kill the
    // program. libspeechd's event thread inherits this mask.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);

    for (;;) {
        SpeechdCommand c;
        {
            std::unique_lock lock(queueMutex);
            queueCv.wait(lock, [this] { return quit || draining || !queue.empty(); });
            if (quit || queue.empty())
                break;
            c = std::move(queue.front());
            queue.pop_front();
        }
        execute(c);
        busyUntil = 0;
    }
    closeConnection();
    std::deque<SpeechdCommand> rest;
    {
        std::lock_guard lock(queueMutex);
        rest.swap(queue);
    }
    for (SpeechdCommand &c : rest) {
        if (c.reply)
            c.reply->set(false, QStringLiteral("the speech connection was closed"));
    }
    {
        std::lock_guard lock(queueMutex);
        exited = true;
    }
    queueCv.notify_all();
}

void SpeechdSession::State::execute(SpeechdCommand &c)
{
    switch (c.kind) {
    case SpeechdCommand::Kind::Connect: {
        const bool ok = ensureConnected(true);
        if (c.reply)
            c.reply->set(ok, ok ? module : lastError);
        break;
    }
    case SpeechdCommand::Kind::Speak:
        speak(c);
        break;
    case SpeechdCommand::Kind::Cancel:
        if (conn && !broken()) {
            busyFor(options.commandTimeoutMs);
            spd_cancel(conn);
            dropIfBroken();
        }
        {
            // The cancelled messages need no more bookkeeping.
            std::lock_guard lock(messageMutex);
            requests.clear();
        }
        break;
    case SpeechdCommand::Kind::Signal:
        signal(c.value, c.code);
        break;
    case SpeechdCommand::Kind::SetRate:
        options.rate = c.value;
        if (conn && !broken()) {
            busyFor(options.commandTimeoutMs);
            spd_set_voice_rate(conn, c.value);
            dropIfBroken();
        }
        break;
    case SpeechdCommand::Kind::Setup: {
        bool ok = ensureConnected(true);
        if (ok) {
            busyFor(options.commandTimeoutMs);
            ok = spd_set_language(conn, "ja") == 0 && spd_set_voice_rate(conn, options.rate) == 0;
            appliedLanguage = ok ? QStringLiteral("ja") : QString();
            dropIfBroken();
        }
        if (c.reply)
            c.reply->set(ok, ok ? module : lastError);
        break;
    }
    case SpeechdCommand::Kind::Flush:
        if (c.reply)
            c.reply->set(true);
        break;
    case SpeechdCommand::Kind::Probe:
        // Notice a server that went away, and one that came back (without
        // starting one: that is left to the next thing said).
        dropIfBroken();
        if (!conn)
            connect(false);
        break;
    }
}

void SpeechdSession::State::speak(const SpeechdCommand &c)
{
    const QString language = speechtext::language(c.text);
    QString spoken;
    for (int attempt = 0; attempt < 2 && !stopping(); ++attempt) {
        // A connection found broken is replaced at once: the text is retried
        // on a new one.
        if (!ensureConnected(attempt > 0))
            break;
        if (spoken.isEmpty())
            spoken = readings && reader ? reader->toReadings(c.text) : c.text;
        busyFor(options.commandTimeoutMs);
        applyLanguage(language); // a voice without the language still speaks
        const int id = say(spoken, c.mode);
        if (id >= 0) {
            registerMessage(id, c.request);
            return;
        }
        if (!broken())
            break; // refused by a working server
    }
    emitEvent({SpeechdEvent::Kind::Ended, c.request, {}});
}

bool SpeechdSession::State::applyLanguage(const QString &language)
{
    if (ssmlMode && spd_set_data_mode(conn, SPD_DATA_TEXT) == 0)
        ssmlMode = false;
    if (language == appliedLanguage)
        return true;
    if (spd_set_language(conn, language.toUtf8().constData()) != 0)
        return false;
    appliedLanguage = language;
    return true;
}

// The message id, or -1 when the server did not take the text. A lone
// character is spoken by its name ("a", "space") and has no id to follow; it
// counts as ended at once (-2).
int SpeechdSession::State::say(const QString &text, int mode)
{
    if (mode == 1) {
        int count = 0;
        bool kanji = false;
        speechtext::forEachCharacter(text, [&](char32_t ch) {
            ++count;
            kanji = speechtext::isKanji(ch);
        });
        if (count == 1 && !kanji) {
            const QByteArray ch = text.at(0).isSpace() ? QByteArray("space") : text.toUtf8();
            return spd_char(conn, SPD_MESSAGE, ch.constData()) == 0 ? -2 : -1;
        }
    }
    return spd_say(conn, SPD_MESSAGE, text.toUtf8().constData());
}

void SpeechdSession::State::signal(int value, int code)
{
    auto key = std::make_pair(value, code);
    auto found = soundFiles.find(key);
    if (found == soundFiles.end())
        found = soundFiles.emplace(key, signalsounds::file(value, code, options.soundFolder)).first;
    const QString &path = found->second;
    if (path.isEmpty() || !ensureConnected(false))
        return; // no sound rather than a spoken file name
    // An SSML audio element plays the file through the server; a module
    // that cannot play it stays silent.
    const QString ssml = QStringLiteral("<speak><audio src=\"%1\"></audio></speak>").arg(xmlEscaped(path));
    busyFor(options.commandTimeoutMs);
    if (spd_set_data_mode(conn, SPD_DATA_SSML) == 0) {
        ssmlMode = true;
        spd_say(conn, SPD_MESSAGE, ssml.toUtf8().constData());
        if (spd_set_data_mode(conn, SPD_DATA_TEXT) == 0)
            ssmlMode = false;
    }
    dropIfBroken();
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
    const qint64 now = nowMs();
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

// ---------------------------------------------------------------------------

SpeechdSession::SpeechdSession(const Options &options, Sink sink)
    : state_(std::make_shared<State>(options, std::move(sink)))
{
    thread_ = std::thread([state = state_] { state->run(); });
}

SpeechdSession::~SpeechdSession()
{
    close(1000);
}

void SpeechdSession::close(int waitMs)
{
    if (!thread_.joinable())
        return;
    {
        std::lock_guard lock(state_->sinkMutex);
        state_->sink = nullptr;
    }
    bool exited = false;
    {
        // What was posted last (a farewell, a cancel) still reaches the
        // server if the thread gets through the queue in time.
        std::unique_lock lock(state_->queueMutex);
        state_->draining = true;
        state_->queueCv.notify_all();
        exited = state_->queueCv.wait_for(lock, std::chrono::milliseconds(waitMs), [this] { return state_->exited; });
        state_->quit = true;
        state_->queueCv.notify_all();
    }
    if (exited)
        thread_.join();
    else
        thread_.detach(); // stuck in a call; it ends when the server answers or goes away
}

void SpeechdSession::post(SpeechdCommand command)
{
    {
        std::lock_guard lock(state_->queueMutex);
        if (command.kind == SpeechdCommand::Kind::Cancel) {
            std::erase_if(state_->queue, [](const SpeechdCommand &c) {
                return c.kind == SpeechdCommand::Kind::Speak || c.kind == SpeechdCommand::Kind::Signal;
            });
        }
        state_->queue.push_back(std::move(command));
    }
    state_->queueCv.notify_all();
}

bool SpeechdSession::overdue() const
{
    const qint64 until = state_->busyUntil;
    return until != 0 && nowMs() > until;
}
