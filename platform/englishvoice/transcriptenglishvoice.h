#pragma once
// The transcript form of the English voice: every call that reaches the
// voice is written to the shared transcript (SapiSpeak, SapiStop, SapiVoice,
// SapiSpeed) and speaking time is modelled from the length of the text, as
// for the screen reader's transcript back end. It offers a fixed list of
// voices, which tests may replace.

#include "englishvoice/englishvoice.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>

class Transcript;

class TranscriptEnglishVoice : public EnglishVoice {
    Q_OBJECT
public:
    static std::unique_ptr<EnglishVoice> create(QString *error);
    // The voices a new transcript voice offers.
    static QStringList defaultVoices();

    int count() const override { return int(voices_.size()); }
    QString voiceName(int index) const override;
    int currentVoice() const override { return current_; }
    bool setCurrentVoice(int index) override;
    bool speak(const QString &text) override;
    void stop() override;
    bool isSpeaking() const override { return remainingMs() > 0; }
    int minSpeed() const override { return -10; }
    int maxSpeed() const override { return 10; }
    int speed() const override { return speed_; }
    void setSpeed(int speed) override;
    bool release() override;
    bool available() const override { return !released_; }

    // Tests.
    void setVoices(const QStringList &names) { voices_ = names; }
    // While failing, speak() and setCurrentVoice() fail as a broken engine would.
    void setFailing(bool failing) { failing_ = failing; }
    void setMsPerChar(int ms) { msPerChar_ = ms; }
    // An engine slow to start: the start of audio is reported after `ms`.
    void setStartDelay(int ms) { startDelayMs_ = ms; }

private:
    TranscriptEnglishVoice(Transcript *transcript, int msPerChar);
    qint64 remainingMs() const;

    Transcript *transcript_;
    QStringList voices_;
    int msPerChar_;
    int startDelayMs_ = 0;
    int current_ = 0;
    int speed_ = 0;
    bool failing_ = false;
    bool released_ = false;
    QElapsedTimer clock_;
    qint64 speakingUntil_ = 0;
    QTimer endTimer_;
};
