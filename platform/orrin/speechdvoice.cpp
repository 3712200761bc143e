#include "orrin/speechdvoice.h"

#include "orrin/orrnusr.h"
#include "orrin/signalsounds.h"
#include "orrin/speechtext.h"
#include "orrin/wordreadings.h"

#include "eventloop/doevents.h"

#include <algorithm>
#include <climits>

namespace {
constexpr int SettleSpeechCapMs = 30000; // Settle waits at most this long for the speech to end
constexpr int StalledMs = 300;           // a session this long inside one step is not answering
constexpr int ProbeEveryMs = 2000;       // loaded() looks at the connection this often
} // namespace

SpeechdVoice::Options SpeechdVoice::Options::fromEnvironment()
{
    Options o;
    o.autospawn = qEnvironmentVariable("WORDLAMP_SPEECHD_AUTOSPAWN").trimmed() != u"0";
    // Starting the server (and its synthesiser) takes a few seconds; a
    // running server answers at once.
    o.connectTimeoutMs = o.autospawn ? 10000 : 3000;
    o.kanjiReadings = qEnvironmentVariable("WORDLAMP_KANJI_READINGS");
    o.mecabDictionary = qEnvironmentVariable("WORDLAMP_MECAB_DICDIR");
    o.soundFolder = signalsounds::defaultFolder();
    return o;
}

std::unique_ptr<OrrinVoice> SpeechdVoice::create(QString *error)
{
    return create(Options::fromEnvironment(), error);
}

std::unique_ptr<SpeechdVoice> SpeechdVoice::create(const Options &options, QString *error)
{
    std::unique_ptr<SpeechdVoice> voice(new SpeechdVoice(options));
    QString detail;
    // The session gives up on its own after connectTimeoutMs; the extra
    // moment covers a session that is stuck inside the attempt.
    if (!voice->wait(SpeechdCommand::Kind::Connect, options.connectTimeoutMs + 500, &detail)) {
        if (error)
            *error = detail;
        voice->session_->close(0);
        return nullptr;
    }
    voice->loaded_ = true;
    voice->module_ = detail;
    return voice;
}

SpeechdVoice::SpeechdVoice(const Options &options) : options_(options)
{
    options_.rate = rate();
    clock_.start();
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, [this] {
        const qint64 left = speakingUntil_ - clock_.elapsed();
        if (left > 0)
            deadline_.start(int(left));
        else
            expireOverdueSpeech();
    });
    startSession();
}

SpeechdVoice::~SpeechdVoice()
{
    // Close before the QObject goes: no event may be posted to it afterwards.
    session_->close(session_->overdue() ? 0 : 1000);
}

void SpeechdVoice::startSession()
{
    const quint64 generation = ++generation_;
    session_ = std::make_unique<SpeechdSession>(options_, [this, generation](const SpeechdEvent &e) {
        QMetaObject::invokeMethod(
            this, [this, generation, e] { onSessionEvent(generation, e); }, Qt::QueuedConnection);
    });
}

// A session stuck in a call (a server that stopped answering) is left behind
// and a new one connects afresh; but only one is ever left behind: while it
// is still stuck, the server is not answering anyone, and the stuck session
// stays the current one (its texts are dropped at their deadline).
void SpeechdVoice::replaceStuckSession()
{
    if (abandoned_ && abandoned_->finished())
        abandoned_.reset();
    if (!session_->overdue())
        return;
    loaded_ = false;
    pending_.clear();
    serverAway_ = false;
    reportSpeaking();
    if (abandoned_)
        return;
    session_->close(0);
    abandoned_ = std::move(session_);
    startSession();
}

void SpeechdVoice::onSessionEvent(quint64 generation, const SpeechdEvent &event)
{
    if (generation != generation_)
        return;
    switch (event.kind) {
    case SpeechdEvent::Kind::Connected:
        loaded_ = true;
        module_ = event.detail;
        if (serverAway_) {
            // The texts that waited are spoken now: their time starts again.
            serverAway_ = false;
            restartDeadline();
        }
        break;
    case SpeechdEvent::Kind::Disconnected: loaded_ = false; break;
    case SpeechdEvent::Kind::Ended: requestEnded(event.request); break;
    case SpeechdEvent::Kind::Waiting:
        // Not spoken, so not ended: the session keeps the text until a server
        // takes it or its wait is over (then it reports the end).
        if (pending_.contains(event.request)) {
            serverAway_ = true;
            loaded_ = false;
            deadline_.stop();
        }
        break;
    }
}

bool SpeechdVoice::wait(SpeechdCommand::Kind kind, int ms, QString *detail)
{
    replaceStuckSession();
    auto reply = std::make_shared<SpeechdReply>();
    session_->post({kind, 0, {}, 0, 0, 0, reply});
    if (!reply->waitFor(ms)) {
        if (detail)
            *detail = QStringLiteral("speech-dispatcher did not answer within %1 seconds").arg(ms / 1000.0);
        return false;
    }
    if (detail)
        *detail = reply->detail();
    return reply->ok();
}

void SpeechdVoice::requestEnded(quint64 request)
{
    if (!pending_.remove(request))
        return;
    if (pending_.isEmpty()) {
        speakingUntil_ = clock_.elapsed();
        serverAway_ = false;
        deadline_.stop();
    }
    reportSpeaking();
}

void SpeechdVoice::restartDeadline()
{
    qint64 total = 0;
    for (const qint64 ms : std::as_const(pending_))
        total += ms;
    const qint64 now = clock_.elapsed();
    speakingUntil_ = now + total;
    if (!pending_.isEmpty())
        deadline_.start(int(std::min<qint64>(total, INT_MAX)));
}

// The server never said the speech ended, but it has had time enough; or
// the session stopped answering.
void SpeechdVoice::expireOverdueSpeech()
{
    if (pending_.isEmpty())
        return;
    if (!session_->overdue() && (serverAway_ || clock_.elapsed() < speakingUntil_))
        return;
    pending_.clear();
    serverAway_ = false;
    deadline_.stop();
    reportSpeaking();
}

void SpeechdVoice::reportSpeaking()
{
    const bool speaking = !pending_.isEmpty();
    if (speaking != reportedSpeaking_) {
        reportedSpeaking_ = speaking;
        emit speakingChanged(speaking);
    }
}

void SpeechdVoice::Speak(const QString &text, int mode)
{
    replaceStuckSession();
    // A blank at the caret is still a character to announce ("space").
    const bool blank = mode == 1 && text.size() == 1 && text[0].isSpace();
    // Words the dictionary gave a reading for are said with that reading.
    QString t = blank ? QStringLiteral(" ") : speechtext::cleaned(wordreadings::spoken(text));
    // A bracket or a semicolon on its own (a piece of a read-all) is not
    // worth an utterance; a lone character at the caret still is.
    if (t.isEmpty() || (mode != 1 && speechtext::onlySigns(t)))
        return;
    const quint64 request = ++nextRequest_;
    const qint64 now = clock_.elapsed();
    const qint64 expected = speechtext::expectedDurationMs(t, rate());
    speakingUntil_ = std::max(speakingUntil_, now) + expected;
    if (!serverAway_)
        deadline_.start(int(std::min<qint64>(speakingUntil_ - now, INT_MAX)));
    pending_.insert(request, expected);
    session_->post({SpeechdCommand::Kind::Speak, request, std::move(t), mode, 0, 0, nullptr});
    reportSpeaking();
}

void SpeechdVoice::StopSpeech()
{
    replaceStuckSession();
    session_->post({SpeechdCommand::Kind::Cancel, 0, {}, 0, 0, 0, nullptr});
    pending_.clear();
    serverAway_ = false;
    speakingUntil_ = clock_.elapsed();
    deadline_.stop();
    reportSpeaking();
}

bool SpeechdVoice::Setup(int)
{
    QString detail;
    const bool ok = wait(SpeechdCommand::Kind::Setup, options_.commandTimeoutMs, &detail);
    if (ok)
        module_ = detail;
    return ok;
}

int SpeechdVoice::Settle()
{
    // Runs the window's events until the session has handed everything to
    // the server and the speech has ended. A session that does not get
    // through its step (a frozen server, one being waited for) ends the wait:
    // nothing more will be said soon, and the window must not stand still.
    replaceStuckSession();
    if (!eventloop::mayRunEvents())
        return 0;
    auto reply = std::make_shared<SpeechdReply>();
    session_->post({SpeechdCommand::Kind::Flush, 0, {}, 0, 0, 0, reply});
    QElapsedTimer waited;
    waited.start();
    QTimer wake;
    wake.start(20);
    while (waited.elapsed() < SettleSpeechCapMs && session_->busyMs() < StalledMs && !session_->overdue()) {
        if (reply->waitFor(0) && !IsSpeaking())
            break;
        eventloop::DoEvents(eventloop::waitFlags(QEventLoop::WaitForMoreEvents));
    }
    return 0;
}

bool SpeechdVoice::IsSpeaking()
{
    expireOverdueSpeech(); // also when the caller polls without running the event loop
    return !pending_.isEmpty();
}

void SpeechdVoice::Signal(int value, int code, int)
{
    replaceStuckSession();
    session_->post({SpeechdCommand::Kind::Signal, 0, {}, 0, value, code, nullptr});
}

int SpeechdVoice::setStatus(int item, int value, int)
{
    if (item != OrrnStatusItem)
        return 0;
    if (value == OrrnSpeedNext) {
        rateStep_ = (rateStep_ + 1) % int(std::size(RateCycle));
        options_.rate = rate();
        replaceStuckSession();
        session_->post({SpeechdCommand::Kind::SetRate, 0, {}, 0, rate(), 0, nullptr});
    } else if (value == OrrnCursorReadNext) {
        cursorReading_ = CursorReading((int(cursorReading_) + 1) % 3);
    }
    return 0;
}

int SpeechdVoice::command(const QString &name, int a, int b)
{
    return commandHandler_ ? commandHandler_(name, a, b) : 0;
}

bool SpeechdVoice::loaded() const
{
    // The server may have gone away while nothing was said; have the session
    // look at the connection now and then.
    const qint64 now = clock_.elapsed();
    if (lastProbe_ < 0 || now - lastProbe_ >= ProbeEveryMs) {
        lastProbe_ = now;
        session_->post({SpeechdCommand::Kind::Probe, 0, {}, 0, 0, 0, nullptr});
    }
    return loaded_ && !session_->overdue();
}
