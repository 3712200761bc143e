#pragma once
// The speech-dispatcher back end of the screen reader: what users hear.
//
// Every call returns at once; the talking to the server happens on a thread
// of its own (see speechdsession.h). Speech is queued behind speech; stopping
// drops what is speaking and what is queued. IsSpeaking follows the server's
// notifications that each text ended or was cancelled, but never for longer
// than the text can take to say, because a server without working sound may
// report the start of speech and never its end. Japanese texts are spoken
// with the kanji replaced by their readings when the voice cannot read kanji
// (see kanjireader.h).
//
// Environment:
//   SPEECHD_ADDRESS             the server's address (libspeechd's own setting)
//   WORDLAMP_SPEECHD_AUTOSPAWN  "0": never start the server when it is missing
//   WORDLAMP_KANJI_READINGS     "0": speak kanji as they are; "1": always read them
//   WORDLAMP_MECAB_DICDIR       the MeCab dictionary to use instead of the usual ones

#include "orrin/orrinvoice.h"
#include "orrin/speechdsession.h"

#include <QElapsedTimer>
#include <QHash>
#include <QTimer>

#include <functional>

class SpeechdVoice : public OrrinVoice {
    Q_OBJECT
public:
    struct Options : SpeechdSession::Options {
        static Options fromEnvironment();
    };

    // Connects to the server (starting it if it is missing and autospawn is
    // on), waiting at most options.connectTimeoutMs. Returns nullptr, with
    // the reason in `error`, when no connection can be made.
    static std::unique_ptr<OrrinVoice> create(QString *error);
    static std::unique_ptr<SpeechdVoice> create(const Options &options, QString *error);
    ~SpeechdVoice() override;

    void Speak(const QString &text, int mode = 0) override;
    void StopSpeech() override;
    bool Setup(int value) override;
    int Settle() override;
    bool IsSpeaking() override;
    void Signal(int value, int code, int flag) override;
    int setStatus(int item, int value, int flag) override;
    int command(const QString &name, int a, int b) override;
    bool loaded() const override;

    // The speech rate (-100 .. 100), stepped through RateCycle by the
    // "speed" status item.
    static constexpr int RateCycle[] = {0, 25, 50, 75, -25};
    int rate() const { return RateCycle[rateStep_]; }
    QString speedName() const override { return speedNameOf(rateStep_); }

    // What is read when the caret moves, stepped by the "cursor reading"
    // status item: character, word, line, character ...
    enum class CursorReading { Character, Word, Line };
    CursorReading cursorReading() const { return cursorReading_; }

    // The screen reader's own commands ("ReadCurLine", "ReadCurPos",
    // "ReadInputSts") are carried out by whoever sets this handler; without
    // one they do nothing and return 0.
    using CommandHandler = std::function<int(const QString &name, int a, int b)>;
    void setCommandHandler(CommandHandler handler) { commandHandler_ = std::move(handler); }

    // The server's output module, as reported when the connection was made.
    QString outputModule() const { return module_; }

private:
    explicit SpeechdVoice(const Options &options);
    void startSession();
    void replaceStuckSession();
    void onSessionEvent(quint64 generation, const SpeechdEvent &event);
    bool wait(SpeechdCommand::Kind kind, int ms, QString *detail = nullptr);
    void requestEnded(quint64 request);
    void expireOverdueSpeech();
    void restartDeadline();
    void reportSpeaking();

    Options options_;
    std::unique_ptr<SpeechdSession> session_;
    quint64 generation_ = 0;
    bool loaded_ = false;
    QString module_;

    quint64 nextRequest_ = 0;
    QHash<quint64, qint64> pending_; // spoken texts that have not ended, and how long each may take
    bool serverAway_ = false;        // a text waits for the server to come back
    // A session left behind stuck in a call to a server that stopped
    // answering; no other is left behind until it has ended.
    std::unique_ptr<SpeechdSession> abandoned_;
    QElapsedTimer clock_;
    qint64 speakingUntil_ = 0; // on clock_: when every pending text must have ended
    QTimer deadline_;
    bool reportedSpeaking_ = false;
    mutable qint64 lastProbe_ = -1;

    int rateStep_ = 0;
    CursorReading cursorReading_ = CursorReading::Character;
    CommandHandler commandHandler_;
};
