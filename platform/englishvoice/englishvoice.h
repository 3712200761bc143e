#pragma once
// The English voice: a text-to-speech voice that reads English passages
// while English reading is on. The program uses it through these members
// only: the number of voices and their names (1-based), the current voice,
// speak, stop, the speaking state, the speed with its range, and the start
// and end of audio. Voices are named "Language-Region: Name (Age Gender)",
// for example "English-American: kal (Adult Male)".
//
// Two forms: Qt TextToSpeech (what users hear) and a transcript form for
// tests, chosen by WORDLAMP_SPEECH like the screen reader's back end.

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class EnglishVoice : public QObject {
    Q_OBJECT
public:
    // Creates the form that WORDLAMP_SPEECH names. Returns nullptr, with the
    // reason in `error`, when no text-to-speech engine can be had.
    static std::unique_ptr<EnglishVoice> create(QString *error = nullptr);
    // Tests: replace how create() makes a voice (an empty function restores it).
    using Factory = std::function<std::unique_ptr<EnglishVoice>(QString *error)>;
    static void setFactory(Factory factory);

    ~EnglishVoice() override;

    virtual int count() const = 0;
    // Name of voice `index` (1 to count()); empty outside that range.
    virtual QString voiceName(int index) const = 0;
    // The voice that speaks (0 before one was chosen). False when `index` is
    // outside 1 to count() or the engine refuses the voice.
    virtual int currentVoice() const = 0;
    virtual bool setCurrentVoice(int index) = 0;

    // Starts speaking `text` and returns at once; false when the engine
    // failed (the text is then not spoken).
    virtual bool speak(const QString &text) = 0;
    virtual void stop() = 0;
    // True from speak() until the engine reports the end of the text (never
    // longer than the text can take to say), so that a wait right after
    // speak() waits for it.
    virtual bool isSpeaking() const = 0;

    // Speed: any whole number from minSpeed() (slowest) to maxSpeed()
    // (fastest); values outside are clamped.
    virtual int minSpeed() const = 0;
    virtual int maxSpeed() const = 0;
    virtual int speed() const = 0;
    virtual void setSpeed(int speed) = 0;

    // Gives the engine up after the wanted voice was not found: nothing is
    // spoken afterwards. False when there is no engine to give up.
    virtual bool release() = 0;
    // False when the engine failed to start or was given up.
    virtual bool available() const = 0;

signals:
    void audioStart();
    void audioEnd();
    // The engine cannot play at all (no audio device, a missing plug-in):
    // `text`, the text it was given, was not spoken. available() is false
    // from then on.
    void cannotPlay(const QString &text);

protected:
    EnglishVoice();
};
