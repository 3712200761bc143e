#pragma once
// A main window with speech and reading installed, started as the program
// starts it (the speech steps only), speaking into a transcript of its own
// and keeping its settings in a throwaway folder. It records what was said,
// by which voice, and what the result pane had highlighted at that moment.

#include "form/mainform.h"
#include "form/messagebox.h"
#include "speech/speech.h"
#include "testsupport.h"

#include <QStringList>
#include <QTemporaryDir>

#include <functional>

class EnglishVoice;
class TranscriptEnglishVoice;
class TranscriptVoice;

class SpeechFixture {
public:
    // `msPerChar`: modelled speaking time of both voices.
    explicit SpeechFixture(int msPerChar = 0);
    ~SpeechFixture();

    // The speech steps of start-up, in the program's order, with the
    // settings read as start-up reads them. False when start-up would end.
    bool start();

    MainForm &form() { return *form_; }
    // The window goes away (as when the program ends during a reading).
    void destroyWindow() { form_.reset(); }
    Speech &speech() { return *speech_; }
    TranscriptVoice *voice() const;
    TranscriptEnglishVoice *english() const;
    testsupport::TempSettings &settings() { return settings_; }

    // English reading on (a matching English voice and the user's wish).
    void setEnglish(bool englishMode, bool engUse = true);
    // Puts `text` into the result pane ("\n" between lines) with the cursor at `cursor`.
    void setPane(const QString &text, int cursor = 0);
    int paneCursor() const;

    // Every transcript line written since the last mark(), as written.
    QStringList lines() const;
    void mark();
    // Speech since the last mark: "Speak text [highlight]", "SapiSpeak text
    // [highlight]" or "Announce text", with \r and \n escaped as in the
    // transcript; other operations are listed when named in `also`.
    QStringList spoken(const QStringList &also = {}) const;
    // Called for every transcript line as it is written.
    void onLine(std::function<void(const QString &operation, const QStringList &arguments)> f)
    {
        onLine_ = std::move(f);
    }

    QList<MessageRecord> messages;

private:
    testsupport::TempSettings settings_;
    QTemporaryDir dir_;
    QString transcriptPath_;
    qsizetype markLine_ = 0;
    struct Entry {
        QString operation;
        QStringList arguments;
        QString highlight;
    };
    QList<Entry> entries_;
    std::function<void(const QString &, const QStringList &)> onLine_;
    std::unique_ptr<MainForm> form_;
    Speech *speech_ = nullptr;
};
