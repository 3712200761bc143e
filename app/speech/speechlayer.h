#pragma once
// The speech output layer: the choice between the screen reader and the
// English voice, stopping speech, the waits that pace a long reading, the
// start-up checks of both voices, the screen reader's events and the
// presence indicator.

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class Announcer;
class EnglishVoice;
class MainForm;
class ScreenReaderStatus;

class SpeechLayer : public QObject {
    Q_OBJECT
public:
    // `alive` turns false when the window goes away; the waits check it
    // after every round of events.
    SpeechLayer(MainForm &form, std::shared_ptr<bool> alive);
    ~SpeechLayer() override;

    void SapiGo(const QString &text);
    void SapiCancel();
    void AllCancel();
    void AllReadWait();
    void AllReadWaitSapi();
    // False when even the recovery from a failure failed (no English voice
    // object at all): start-up cannot go on.
    bool EnglishCheck();
    void EnglishSetting(bool engOn);

    void OrvBack_KeyBack(const QString &keyInfo, int &exec);
    void OrvBack_VoiceBack(qint32 voiceInfo, int &exec);
    void TimerMemo_Timer();
    void VIconSet();
    // The Environment menu opens.
    void mnu_kankyo_Open();

    // Start-up and shutdown steps.
    bool createScreenReader();
    void loadBrailleTable();
    bool checkEnglishVoice();
    void stopForShutdown();
    void sayFarewell();

    // Run for the screen reader's read-all key, after its event has returned.
    void setReadAllKeyHandler(std::function<void()> handler) { readAllKey_ = std::move(handler); }

    EnglishVoice *englishVoice() const { return sapi_.get(); }
    Announcer *announcer() const { return announcer_.get(); }
    ScreenReaderStatus *screenReaderStatus() const { return screenReader_.get(); }
    int sapiErrorCount() const { return sapiErrorCount_; }
    // The folder that holds the braille table; the program's folder unless set.
    void setProgramFolder(const QString &folder) { programFolder_ = folder; }

private:
    void waitWhileSpeaking(const std::function<bool()> &speaking);
    bool alive() const { return *alive_; }

    MainForm &form_;
    std::shared_ptr<bool> alive_;
    std::unique_ptr<EnglishVoice> sapi_;
    std::unique_ptr<Announcer> announcer_;
    std::unique_ptr<ScreenReaderStatus> screenReader_; // a real screen reader beside the program
    std::function<void()> readAllKey_;
    int sapiErrorCount_ = 0;
    bool readingButtonsActive_ = false; // the presence indicator's flag
    QString programFolder_;
};
