#pragma once
// The English voice over Qt TextToSpeech.
//
// Engine choice: flite when it is there, because its engine starts in about
// a tenth of a second and offers English voices only; then any other engine;
// speech-dispatcher last, because its engine blocks for seconds while it
// lists every voice of espeak-ng. WORDLAMP_ENGLISH_ENGINE names an engine to
// use instead. Only English voices are offered.

#include "englishvoice/englishvoice.h"

#include <QElapsedTimer>
#include <QList>
#include <QTextToSpeech>
#include <QVoice>

class QtEnglishVoice : public EnglishVoice {
    Q_OBJECT
public:
    static std::unique_ptr<EnglishVoice> create(QString *error);
    // The engine to use among `engines`, by the rule above.
    static QString chooseEngine(const QStringList &engines, const QString &wanted);

    int count() const override { return int(voices_.size()); }
    QString voiceName(int index) const override;
    int currentVoice() const override { return current_; }
    bool setCurrentVoice(int index) override;
    bool speak(const QString &text) override;
    void stop() override;
    bool isSpeaking() const override;
    int minSpeed() const override { return -10; }
    int maxSpeed() const override { return 10; }
    int speed() const override { return speed_; }
    void setSpeed(int speed) override;
    bool release() override;
    bool available() const override;

private:
    explicit QtEnglishVoice(const QString &engine);
    void onStateChanged(QTextToSpeech::State state);

    std::unique_ptr<QTextToSpeech> tts_;
    QList<QVoice> voices_;
    QStringList names_;
    int current_ = 0;
    int speed_ = 0;
    bool speaking_ = false;
    // flite may fail the first text after a stop; that text is tried once more.
    bool stoppedBefore_ = false;
    QString retryText_;
    // The text asked for counts as speaking from speak() until the engine
    // ends it, or until requestUntil_ (on clock_) when it never does.
    QElapsedTimer clock_;
    qint64 requestUntil_ = -1;
    bool started_ = false; // the engine has started the text asked for
    QString lastText_;
    bool cannotPlay_ = false;
};
