#include "speech/speechlayer.h"

#include "englishvoice/englishvoice.h"
#include "eventloop/doevents.h"
#include "form/mainform.h"
#include "orrin/announcer.h"
#include "orrin/orrinvoice.h"
#include "orrin/orrnusr.h"
#include "screenreader/screenreaderstatus.h"

#include <QAction>
#include <QEventLoop>
#include <QLabel>
#include <QMenu>
#include <QTimer>

SpeechLayer::SpeechLayer(MainForm &form, std::shared_ptr<bool> alive) : form_(form), alive_(std::move(alive))
{
    connect(&form_.TimerMemo, &QTimer::timeout, this, &SpeechLayer::TimerMemo_Timer);
    connect(&form_.chkOrrin, &QTimer::timeout, this, &SpeechLayer::VIconSet);
    connect(form_.menu(QStringLiteral("mnu_kankyo")), &QMenu::aboutToShow, this, &SpeechLayer::mnu_kankyo_Open);
}

SpeechLayer::~SpeechLayer() = default;

void SpeechLayer::SapiGo(const QString &text)
{
    OrrinVoice *voice = form_.Voice1.get();
    if (!voice)
        return;
    if (!(form_.EnglishMode && form_.EngUse)) {
        voice->StopSpeech();
        voice->Speak(text, 0);
        return;
    }
    voice->StopSpeech();
    SapiCancel();
    if (!sapi_ || !sapi_->speak(text)) {
        // A failing English voice is counted, never reported; after eleven
        // failures in a row English goes to the screen reader until the
        // next start.
        if (++sapiErrorCount_ > 10)
            form_.EnglishMode = false;
        return;
    }
    voice->Signal(100, 11, 0);
    sapiErrorCount_ = 0;
}

void SpeechLayer::SapiCancel()
{
    if (form_.EnglishMode && form_.EngUse && sapi_ && sapi_->isSpeaking()) {
        sapi_->stop();
    }
}

void SpeechLayer::AllCancel()
{
    OrrinVoice *voice = form_.Voice1.get();
    if (form_.AllReadFlag) {
        form_.AllReadFlag = false;
        if (voice)
            voice->StopSpeech();
        SapiCancel();
    }
    if (!form_.AllReadIdle) {
        if (voice)
            voice->StopSpeech();
        SapiCancel();
    }
}

void SpeechLayer::waitWhileSpeaking(const std::function<bool()> &speaking)
{
    // Yields to pending events while speech goes on, and sleeps between
    // polls: the voices post an event when speech ends, and the timer wakes
    // the wait for engines that do not. A key that arrives meanwhile may stop
    // the reading; the reading itself is never started again inside (its
    // commands refuse while it runs). Where events may not run, there is no
    // waiting.
    const std::shared_ptr<bool> alive = alive_;
    QTimer wake;
    wake.start(50);
    while (*alive && form_.AllReadFlag && speaking()) {
        if (!eventloop::DoEvents())
            break;
        if (!*alive || !form_.AllReadFlag || !speaking())
            break;
        eventloop::DoEvents(QEventLoop::WaitForMoreEvents);
    }
}

void SpeechLayer::AllReadWait()
{
    waitWhileSpeaking([this] { return form_.Voice1 && form_.Voice1->IsSpeaking(); });
}

void SpeechLayer::AllReadWaitSapi()
{
    if (form_.EnglishMode && form_.EngUse)
        waitWhileSpeaking([this] { return sapi_ && sapi_->isSpeaking(); });
    else
        AllReadWait();
}

void SpeechLayer::EnglishSetting(bool engOn)
{
    form_.action(QStringLiteral("mnu_yomi_english"))->setEnabled(engOn);
}

void SpeechLayer::OrvBack_KeyBack(const QString &keyInfo, int &exec)
{
    if (keyInfo == u"ReadAll")
        exec = 0; // the program reads with its own read-all instead
    form_.Timer1.start();
    if (exec == 0) {
        form_.KeyMemo = keyInfo;
        form_.TimerMemo.start();
    }
}

void SpeechLayer::OrvBack_VoiceBack(qint32 voiceInfo, int &exec)
{
    if (voiceInfo == 3 && form_.CaptureActive)
        exec = 0;
}

void SpeechLayer::TimerMemo_Timer()
{
    form_.TimerMemo.stop();
    if (form_.KeyMemo == u"ReadAll" && readAllKey_)
        readAllKey_();
}

void SpeechLayer::VIconSet()
{
    const bool loaded = OrvLoaded();
    if ((!loaded && readingButtonsActive_) || form_.QevSelMode) {
        form_.Image2->show();
        readingButtonsActive_ = false;
    } else if (loaded && !readingButtonsActive_) {
        form_.Image2->hide();
        readingButtonsActive_ = true;
    }
}

void SpeechLayer::mnu_kankyo_Open()
{
    form_.AllReadFlag = false;
    SapiCancel();
    // Greyed without an English voice; never enabled here, so a command
    // that is not ready stays greyed.
    if (!form_.EnglishMode)
        form_.action(QStringLiteral("mnu_kankyo_english"))->setEnabled(false);
}
