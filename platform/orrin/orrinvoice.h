#pragma once
// The screen reader's speech object. Every word the program says goes
// through these operations (or through the English voice). The screen
// reader itself is a stand-in with two back ends: speech-dispatcher, which
// users hear, and a transcript file for tests and audits (see
// speechsetting.h for how one is chosen).

#include <QObject>
#include <QString>

#include <memory>

class OrrinVoice : public QObject {
    Q_OBJECT
public:
    // Creates the back end named by WORDLAMP_SPEECH. Returns nullptr, with
    // the reason in `error`, when it cannot be created (the screen reader
    // counts as not installed then).
    static std::unique_ptr<OrrinVoice> create(QString *error = nullptr);
    // The speech object most recently created and still alive: the screen
    // reader that the ORRNSETSTATUS and ORRNCOMMAND functions talk to.
    static OrrinVoice *current();

    ~OrrinVoice() override;

    // Hands a text over for speech and returns at once; mode 1 marks the lone
    // character at the caret. Texts are queued behind speech in progress.
    // A word may carry its reading (wordreadings.h): the voice says the
    // reading, a transcript records the word.
    virtual void Speak(const QString &text, int mode = 0) = 0;
    // Drops the speech in progress and everything queued.
    virtual void StopSpeech() = 0;
    // While locked the screen reader announces none of the program's window
    // changes on its own; the program's own Speak calls still speak.
    virtual void LockSpeech();
    virtual void UnlockSpeech();
    bool isLocked() const { return locked_; }
    // Called once right after creation; false when the screen reader fails.
    virtual bool Setup(int value) = 0;
    // Called right after a Speak where the program goes on at once (a line
    // read aloud, a dialog closing, the program ending): lets the text in
    // hand be spoken to its end before the program moves on, so that a
    // StopSpeech that follows (the English voice taking over, the focus moving)
    // cannot cut it off. Waits, running pending events, while speech is in
    // progress; stopping speech ends the wait at once. Bounded.
    virtual int Settle() = 0;
    // True while speech is in progress (never longer than the text can take).
    virtual bool IsSpeaking() = 0;
    // A short sound that tells the user something without words.
    virtual void Signal(int value, int code, int flag) = 0;

    // The screen reader's own speech: what it says about the focused control,
    // the text at a moved caret and the answers to its reading commands (see
    // announcer.h). It interrupts what is being said, as a screen reader
    // does. Back ends may record it apart from the program's Speak calls.
    virtual void announce(const QString &text, int mode = 0);

    // The speech speed as the user hears it named ("速度 速い"); the "speed"
    // status item steps it through SpeedSteps speeds, normal first.
    static constexpr int SpeedSteps = 5;
    virtual QString speedName() const { return speedNameOf(0); }
    static QString speedNameOf(int step);

    // The screen reader's status and command functions (see orrnusr.h).
    virtual int setStatus(int item, int value, int flag) = 0;
    virtual int command(const QString &name, int a, int b) = 0;
    // True while the screen reader is present (its speech connection is up).
    virtual bool loaded() const = 0;

signals:
    // Emitted when speech starts or ends, so that waits need not poll.
    void speakingChanged(bool speaking);

protected:
    OrrinVoice();
    // Runs pending events until speech has ended or `capMs` have passed.
    void waitWhileSpeaking(int capMs);

private:
    bool locked_ = false;
};
