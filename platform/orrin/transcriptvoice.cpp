#include "orrin/transcriptvoice.h"

#include "orrin/orrnusr.h"
#include "orrin/transcript.h"
#include "orrin/wordreadings.h"

namespace {
constexpr int SettleCapMs = 30000; // the longest Settle waits for the modelled speech
} // namespace

std::unique_ptr<OrrinVoice> TranscriptVoice::create(const SpeechSetting &setting, QString *error)
{
    Transcript *t = Transcript::shared();
    if (!t) {
        if (error)
            *error = QStringLiteral("cannot write the speech transcript %1").arg(setting.path);
        return nullptr;
    }
    return std::unique_ptr<OrrinVoice>(new TranscriptVoice(t, setting.msPerChar));
}

TranscriptVoice::TranscriptVoice(Transcript *transcript, int msPerChar) : transcript_(transcript), msPerChar_(msPerChar)
{
    clock_.start();
    endTimer_.setSingleShot(true);
    connect(&endTimer_, &QTimer::timeout, this, [this] {
        if (remainingMs() > 0)
            endTimer_.start(int(remainingMs()));
        else
            emit speakingChanged(false);
    });
}

qint64 TranscriptVoice::remainingMs() const
{
    return std::max<qint64>(0, speakingUntil_ - clock_.elapsed());
}

void TranscriptVoice::Speak(const QString &said, int mode)
{
    // The transcript holds the text as shown; readings are the voice's business.
    const QString text = wordreadings::shown(said);
    const qint64 duration = qint64(text.size()) * msPerChar_;
    transcript_->write(QStringLiteral("Speak"), {text, QString::number(mode), QString::number(duration)});
    if (duration <= 0)
        return;
    const bool wasSpeaking = remainingMs() > 0;
    speakingUntil_ = std::max(speakingUntil_, clock_.elapsed()) + duration;
    endTimer_.start(int(remainingMs()));
    if (!wasSpeaking)
        emit speakingChanged(true);
}

void TranscriptVoice::announce(const QString &said, int mode)
{
    const QString text = wordreadings::shown(said);
    const qint64 duration = qint64(text.size()) * msPerChar_;
    transcript_->write(QStringLiteral("Announce"), {text, QString::number(mode), QString::number(duration)});
    // It interrupts whatever was being said.
    const bool wasSpeaking = remainingMs() > 0;
    speakingUntil_ = duration > 0 ? clock_.elapsed() + duration : 0;
    if (duration > 0) {
        endTimer_.start(int(duration));
        if (!wasSpeaking)
            emit speakingChanged(true);
    } else {
        endTimer_.stop();
        if (wasSpeaking)
            emit speakingChanged(false);
    }
}

void TranscriptVoice::StopSpeech()
{
    transcript_->write(QStringLiteral("StopSpeech"));
    const bool wasSpeaking = remainingMs() > 0;
    speakingUntil_ = 0;
    endTimer_.stop();
    if (wasSpeaking)
        emit speakingChanged(false);
}

void TranscriptVoice::LockSpeech()
{
    OrrinVoice::LockSpeech();
    transcript_->write(QStringLiteral("LockSpeech"));
}

void TranscriptVoice::UnlockSpeech()
{
    OrrinVoice::UnlockSpeech();
    transcript_->write(QStringLiteral("UnlockSpeech"));
}

bool TranscriptVoice::Setup(int value)
{
    transcript_->write(QStringLiteral("Setup"), {QString::number(value)});
    return true;
}

int TranscriptVoice::Settle()
{
    transcript_->write(QStringLiteral("Settle"));
    waitWhileSpeaking(SettleCapMs);
    return 0;
}

bool TranscriptVoice::IsSpeaking()
{
    return remainingMs() > 0;
}

void TranscriptVoice::Signal(int value, int code, int flag)
{
    transcript_->write(QStringLiteral("Signal"),
                       {QString::number(value), QString::number(code), QString::number(flag)});
}

int TranscriptVoice::setStatus(int item, int value, int flag)
{
    transcript_->write(QStringLiteral("ORRNSETSTATUS"),
                       {QString::number(item), QString::number(value), QString::number(flag)});
    if (item == OrrnStatusItem && value == OrrnSpeedNext)
        speedStep_ = (speedStep_ + 1) % SpeedSteps;
    return 0;
}

int TranscriptVoice::command(const QString &name, int a, int b)
{
    transcript_->write(QStringLiteral("ORRNCOMMAND"), {name, QString::number(a), QString::number(b)});
    return 0;
}
