#include "orrin/speechdvoice.h"

#include "orrin/orrnusr.h"
#include "orrin/signalsounds.h"
#include "orrin/speechtext.h"
#include "orrin/wordreadings.h"

#include <algorithm>
#include <climits>

namespace {
constexpr int SettleMs = 1000;           // Settle waits this long for the queue to reach the server
constexpr int SettleSpeechCapMs = 30000; // and at most this long for the speech to end
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
// and a new one connects afresh.
void SpeechdVoice::replaceStuckSession()
{
    if (!session_->overdue())
        return;
    session_->close(0);
    loaded_ = false;
    pending_.clear();
    reportSpeaking();
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
        break;
    case SpeechdEvent::Kind::Disconnected: loaded_ = false; break;
    case SpeechdEvent::Kind::Ended: requestEnded(event.request); break;
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
        deadline_.stop();
    }
    reportSpeaking();
}

// The server never said the speech ended, but it has had time enough.
void SpeechdVoice::expireOverdueSpeech()
{
    if (pending_.isEmpty() || clock_.elapsed() < speakingUntil_)
        return;
    pending_.clear();
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
    speakingUntil_ = std::max(speakingUntil_, now) + speechtext::expectedDurationMs(t, rate());
    deadline_.start(int(std::min<qint64>(speakingUntil_ - now, INT_MAX)));
    pending_.insert(request);
    session_->post({SpeechdCommand::Kind::Speak, request, std::move(t), mode, 0, 0, nullptr});
    reportSpeaking();
}

void SpeechdVoice::StopSpeech()
{
    replaceStuckSession();
    session_->post({SpeechdCommand::Kind::Cancel, 0, {}, 0, 0, 0, nullptr});
    pending_.clear();
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
    wait(SpeechdCommand::Kind::Flush, SettleMs);
    waitWhileSpeaking(SettleSpeechCapMs);
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
