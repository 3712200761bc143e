#include "orrin/speechdsession.h"

#include "orrin/signalsounds.h"
#include "orrin/speechdstate.h"
#include "orrin/speechtext.h"

#include <QStringList>

#include <algorithm>

#include <csignal>
#include <pthread.h>

namespace {

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

bool SpeechdSession::State::interrupted(int ms)
{
    std::unique_lock lock(queueMutex);
    return queueCv.wait_for(lock, std::chrono::milliseconds(ms), [this] {
        return quit || draining || std::any_of(queue.begin(), queue.end(), [](const SpeechdCommand &c) {
                   return c.kind == SpeechdCommand::Kind::Cancel;
               });
    });
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
        busySince = speechdNowMs();
        execute(c);
        busyUntil = 0;
        busySince = 0;
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
    case SpeechdCommand::Kind::Speak: speak(c); break;
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
    case SpeechdCommand::Kind::Signal: signal(c.value, c.code); break;
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
    // A text that mixes Japanese and English goes out as consecutive
    // messages, each in its own language; the request ends with its last.
    // A lone character at the caret stays one message.
    const QList<speechtext::Run> runs =
        c.mode == 1 ? QList<speechtext::Run>{{c.text, speechtext::language(c.text)}} : speechtext::runs(c.text);
    QStringList spoken;
    const qint64 since = speechdNowMs();
    bool waiting = false;
    for (int attempt = 0; attempt < 2 && !stopping() && !runs.isEmpty(); ++attempt) {
        // A connection found broken is replaced at once: the text is retried
        // on a new one. No server: the text waits for one to come back.
        bool connected = ensureConnected(attempt > 0 || waiting);
        while (!connected && !runs.isEmpty()) {
            if (!waiting) {
                waiting = true;
                emitEvent({SpeechdEvent::Kind::Waiting, c.request, {}});
            }
            busyUntil = 0; // waiting for the server is no call stuck in it
            if (speechdNowMs() - since >= options.waitForServerMs ||
                interrupted(std::max(100, options.retryIntervalMs)))
                break;
            connected = ensureConnected(true);
        }
        if (!connected)
            break;
        if (spoken.isEmpty()) {
            for (const speechtext::Run &run : runs) {
                if (run.language != u"ja")
                    spoken.append(run.text);
                else if (readings && reader)
                    spoken.append(reader->toReadings(speechtext::withPauses(speechtext::withTagWords(run.text))));
                else
                    spoken.append(speechtext::withPauses(speechtext::withTagWords(run.text)));
            }
        }
        busyFor(options.commandTimeoutMs);
        int last = -2;
        for (qsizetype i = 0; i < runs.size() && last != -1; ++i) {
            applyLanguage(runs[i].language); // a voice without the language still speaks
            last = say(spoken[i], c.mode);
        }
        if (last >= 0) {
            registerMessage(last, c.request);
            return;
        }
        if (last == -2)
            break; // spoken, with no message to follow
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

qint64 SpeechdSession::busyMs() const
{
    const qint64 since = state_->busySince;
    return since == 0 ? 0 : speechdNowMs() - since;
}

bool SpeechdSession::finished() const
{
    std::lock_guard lock(state_->queueMutex);
    return state_->exited;
}

bool SpeechdSession::overdue() const
{
    const qint64 until = state_->busyUntil;
    return until != 0 && speechdNowMs() > until;
}
