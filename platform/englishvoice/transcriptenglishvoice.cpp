#include "englishvoice/transcriptenglishvoice.h"

#include "orrin/speechsetting.h"
#include "orrin/transcript.h"

std::unique_ptr<EnglishVoice> TranscriptEnglishVoice::create(QString *error)
{
    const SpeechSetting s = SpeechSetting::fromEnvironment();
    Transcript *t = Transcript::shared();
    if (!t) {
        if (error)
            *error = QStringLiteral("cannot write the speech transcript %1").arg(s.path);
        return nullptr;
    }
    return std::unique_ptr<EnglishVoice>(new TranscriptEnglishVoice(t, s.msPerChar));
}

QStringList TranscriptEnglishVoice::defaultVoices()
{
    return {QStringLiteral("Japanese-Japan: mei (Adult Female)"), QStringLiteral("English-American: kal (Adult Male)"),
            QStringLiteral("English-American: slt (Adult Female)"),
            QStringLiteral("English-British: rms (Adult Male)")};
}

TranscriptEnglishVoice::TranscriptEnglishVoice(Transcript *transcript, int msPerChar)
    : transcript_(transcript), voices_(defaultVoices()), msPerChar_(msPerChar)
{
    clock_.start();
    endTimer_.setSingleShot(true);
    connect(&endTimer_, &QTimer::timeout, this, [this] {
        if (remainingMs() > 0)
            endTimer_.start(int(remainingMs()));
        else
            emit audioEnd();
    });
}

qint64 TranscriptEnglishVoice::remainingMs() const
{
    return std::max<qint64>(0, speakingUntil_ - clock_.elapsed());
}

QString TranscriptEnglishVoice::voiceName(int index) const
{
    return index >= 1 && index <= count() ? voices_.at(index - 1) : QString();
}

bool TranscriptEnglishVoice::setCurrentVoice(int index)
{
    if (failing_ || released_ || index < 1 || index > count())
        return false;
    current_ = index;
    transcript_->write(QStringLiteral("SapiVoice"), {QString::number(index), voiceName(index)});
    return true;
}

bool TranscriptEnglishVoice::speak(const QString &text)
{
    if (failing_ || released_)
        return false;
    const qint64 duration = qint64(text.size()) * msPerChar_;
    transcript_->write(QStringLiteral("SapiSpeak"), {text, QString::number(duration)});
    // A real engine reports the start of audio a moment after the call.
    QTimer::singleShot(startDelayMs_, this, [this] { emit audioStart(); });
    speakingUntil_ = std::max(speakingUntil_, clock_.elapsed()) + duration;
    endTimer_.start(int(remainingMs()));
    return true;
}

void TranscriptEnglishVoice::stop()
{
    if (released_)
        return;
    transcript_->write(QStringLiteral("SapiStop"));
    const bool wasSpeaking = remainingMs() > 0;
    speakingUntil_ = 0;
    endTimer_.stop();
    if (wasSpeaking)
        emit audioEnd();
}

void TranscriptEnglishVoice::setSpeed(int speed)
{
    speed_ = std::clamp(speed, minSpeed(), maxSpeed());
    transcript_->write(QStringLiteral("SapiSpeed"), {QString::number(speed_)});
}

bool TranscriptEnglishVoice::release()
{
    released_ = true;
    speakingUntil_ = 0;
    endTimer_.stop();
    return true;
}
