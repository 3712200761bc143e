#pragma once
// The transcript back end of the screen reader: every call is written to the
// transcript, and speaking time is modelled from the length of the text so
// that reading, stopping and waiting behave as with a real voice.

#include "orrin/orrinvoice.h"
#include "orrin/speechsetting.h"

#include <QElapsedTimer>
#include <QTimer>

class Transcript;

class TranscriptVoice : public OrrinVoice {
    Q_OBJECT
public:
    static std::unique_ptr<OrrinVoice> create(const SpeechSetting &setting, QString *error);

    void Speak(const QString &text, int mode = 0) override;
    void StopSpeech() override;
    void LockSpeech() override;
    void UnlockSpeech() override;
    bool Setup(int value) override;
    int Settle() override;
    bool IsSpeaking() override;
    void Signal(int value, int code, int flag) override;
    // Written as "Announce", so that the screen reader's own speech can be
    // told from the program's Speak calls.
    void announce(const QString &text, int mode = 0) override;
    int setStatus(int item, int value, int flag) override;
    QString speedName() const override { return speedNameOf(speedStep_); }
    int command(const QString &name, int a, int b) override;
    bool loaded() const override { return loaded_; }

    // Tests: pretend the screen reader went away or came back.
    void setLoaded(bool loaded) { loaded_ = loaded; }
    int msPerChar() const { return msPerChar_; }
    void setMsPerChar(int ms) { msPerChar_ = ms; }

private:
    TranscriptVoice(Transcript *transcript, int msPerChar);
    qint64 remainingMs() const;

    Transcript *transcript_;
    int msPerChar_;
    bool loaded_ = true;
    QElapsedTimer clock_;
    qint64 speakingUntil_ = 0; // on clock_, in ms
    QTimer endTimer_;
    int speedStep_ = 0;
};
