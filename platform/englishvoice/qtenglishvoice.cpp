#include "englishvoice/qtenglishvoice.h"

#include "englishvoice/voicename.h"

QString QtEnglishVoice::chooseEngine(const QStringList &engines, const QString &wanted)
{
    if (!wanted.isEmpty())
        return engines.contains(wanted) ? wanted : QString();
    if (engines.contains(u"flite"))
        return QStringLiteral("flite");
    for (const QString &e : engines)
        if (e != u"speechd")
            return e;
    return engines.isEmpty() ? QString() : engines.first();
}

std::unique_ptr<EnglishVoice> QtEnglishVoice::create(QString *error)
{
    const QStringList engines = QTextToSpeech::availableEngines();
    const QString wanted = qEnvironmentVariable("WORDLAMP_ENGLISH_ENGINE");
    const QString engine = chooseEngine(engines, wanted);
    if (engine.isEmpty()) {
        if (error)
            *error = wanted.isEmpty() ? QStringLiteral("no text-to-speech engine is installed")
                                      : QStringLiteral("the text-to-speech engine %1 is not installed").arg(wanted);
        return nullptr;
    }
    std::unique_ptr<QtEnglishVoice> v(new QtEnglishVoice(engine));
    if (!v->available()) {
        if (error)
            *error = QStringLiteral("the text-to-speech engine %1 failed: %2").arg(engine, v->tts_->errorString());
        return nullptr;
    }
    return v;
}

QtEnglishVoice::QtEnglishVoice(const QString &engine) : tts_(std::make_unique<QTextToSpeech>(engine))
{
    clock_.start();
    if (tts_->state() == QTextToSpeech::Error)
        return;
    const QLocale start = tts_->locale();
    for (const QLocale &locale : tts_->availableLocales()) {
        if (locale.language() != QLocale::English)
            continue;
        if (tts_->locale() != locale)
            tts_->setLocale(locale);
        for (const QVoice &v : tts_->availableVoices()) {
            voices_.append(v);
            names_.append(englishVoiceName(v.locale(), v.name(), v.age(), v.gender()));
        }
    }
    if (tts_->locale() != start)
        tts_->setLocale(start);
    connect(tts_.get(), &QTextToSpeech::stateChanged, this, &QtEnglishVoice::onStateChanged);
}

bool QtEnglishVoice::available() const
{
    return tts_ && !cannotPlay_ && tts_->state() != QTextToSpeech::Error;
}

QString QtEnglishVoice::voiceName(int index) const
{
    return index >= 1 && index <= count() ? names_.at(index - 1) : QString();
}

bool QtEnglishVoice::setCurrentVoice(int index)
{
    if (!tts_ || index < 1 || index > count())
        return false;
    const QVoice &v = voices_.at(index - 1);
    if (tts_->locale() != v.locale())
        tts_->setLocale(v.locale());
    tts_->setVoice(v);
    if (tts_->state() == QTextToSpeech::Error)
        return false;
    current_ = index;
    return true;
}

bool QtEnglishVoice::speak(const QString &text)
{
    if (!available())
        return false;
    retryText_ = stoppedBefore_ ? text : QString();
    stoppedBefore_ = false;
    // About 15 characters a second at the slowest speed, and time for the
    // engine to start.
    const qint64 perChar = speed_ < 0 ? 70 - 4 * speed_ : 70;
    requestUntil_ = clock_.elapsed() + 2000 + perChar * text.size();
    started_ = false;
    lastText_ = text;
    tts_->say(text);
    if (tts_->state() == QTextToSpeech::Error) {
        requestUntil_ = -1;
        return false;
    }
    return true;
}

void QtEnglishVoice::stop()
{
    if (!tts_)
        return;
    tts_->stop();
    stoppedBefore_ = true;
    requestUntil_ = -1;
}

bool QtEnglishVoice::isSpeaking() const
{
    if (!tts_)
        return false;
    return tts_->state() == QTextToSpeech::Speaking ||
           (requestUntil_ >= 0 && clock_.elapsed() < requestUntil_ && tts_->state() != QTextToSpeech::Error);
}

void QtEnglishVoice::setSpeed(int speed)
{
    speed_ = std::clamp(speed, minSpeed(), maxSpeed());
    if (tts_)
        tts_->setRate(speed_ / 10.0);
}

bool QtEnglishVoice::release()
{
    if (!tts_)
        return false;
    tts_->stop();
    tts_.reset();
    if (speaking_) {
        speaking_ = false;
        emit audioEnd();
    }
    return true;
}

void QtEnglishVoice::onStateChanged(QTextToSpeech::State state)
{
    if (state == QTextToSpeech::Error && !retryText_.isEmpty()) {
        const QString text = std::exchange(retryText_, QString());
        tts_->say(text);
        return;
    }
    if (state == QTextToSpeech::Speaking)
        started_ = true;
    else if (state == QTextToSpeech::Error || (state == QTextToSpeech::Ready && started_))
        requestUntil_ = -1;
    if (state == QTextToSpeech::Error && !cannotPlay_ &&
        (tts_->errorReason() == QTextToSpeech::ErrorReason::Playback ||
         tts_->errorReason() == QTextToSpeech::ErrorReason::Initialization)) {
        // No audio device, or an engine without its plug-in: nothing it is
        // given will ever be heard.
        cannotPlay_ = true;
        emit cannotPlay(std::exchange(lastText_, QString()));
    }
    if (state == QTextToSpeech::Speaking && !speaking_) {
        speaking_ = true;
        retryText_.clear();
        emit audioStart();
    } else if (state != QTextToSpeech::Speaking && state != QTextToSpeech::Paused && speaking_) {
        speaking_ = false;
        emit audioEnd();
    }
}
