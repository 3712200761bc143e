// The speech steps of start-up and shutdown, and the start-up match of the
// English voice.

#include "speech/speechlayer.h"

#include "datapaths/datapaths.h"
#include "englishvoice/englishvoice.h"
#include "form/mainform.h"
#include "form/messagebox.h"
#include "orrin/announcer.h"
#include "orrin/orrinevents.h"
#include "orrin/orrinsupport.h"
#include "orrin/orrinvoice.h"
#include "screenreader/screenreaderstatus.h"
#include "settings/settingsstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>

#include "form/richtextbox.h"

namespace {
const QString StartupErrorTitle = QStringLiteral("起動エラー");
}

bool SpeechLayer::createScreenReader()
{
    std::unique_ptr<OrrinVoice> voice = OrrinVoice::create();
    if (voice && voice->Setup(97)) {
        form_.Voice1 = std::move(voice);
        form_.OrvBack = std::make_unique<OrrinEvents>();
        connect(form_.OrvBack.get(), &OrrinEvents::KeyBack, this, &SpeechLayer::OrvBack_KeyBack, Qt::DirectConnection);
        connect(form_.OrvBack.get(), &OrrinEvents::VoiceBack, this, &SpeechLayer::OrvBack_VoiceBack,
                Qt::DirectConnection);
        // The screen reader's own announcements; the panes speak for
        // themselves when they get the focus.
        announcer_ = std::make_unique<Announcer>();
        for (QWidget *w : {static_cast<QWidget *>(form_.Text1), static_cast<QWidget *>(form_.Text2),
                           static_cast<QWidget *>(form_.List1)})
            Announcer::setSpeaksForItself(w);
        // Beside a running screen reader its announcements stand down.
        screenReader_ = std::make_unique<ScreenReaderStatus>();
        announcer_->setBesideScreenReader(screenReader_->running());
        connect(screenReader_.get(), &ScreenReaderStatus::runningChanged, announcer_.get(),
                &Announcer::setBesideScreenReader);
        return true;
    }
    showMessage(&form_, QMessageBox::Warning, StartupErrorTitle, QStringLiteral("Orrinがインストールされていません"));
    return false;
}

void SpeechLayer::loadBrailleTable()
{
    const QString folder = programFolder_.isEmpty() ? datapaths::dataFolder() : programFolder_;
    if (BrixSet(QDir(folder).filePath(QStringLiteral("wordlampbr.ini"))) == 0)
        return;
    if (settings::readBool(settings::Key::BrixCheck))
        return;
    showMessage(&form_, QMessageBox::Critical, QStringLiteral("BRIX 設定エラー"),
                QStringLiteral("BRIXまたは点字ファイルが見つかりません\n点字コマンドは使用できません"));
    settings::writeBool(settings::Key::BrixCheck, true);
}

bool SpeechLayer::EnglishCheck()
{
    if (!sapi_ || !sapi_->available()) {
        // Giving the voice up is the recovery; without a voice object even
        // that fails.
        form_.EnglishMode = false;
        return sapi_ && sapi_->release();
    }
    const int count = sapi_->count();
    int match = 0;
    for (int i = 1; i <= count && match == 0; ++i)
        if (sapi_->voiceName(i) == form_.SapiEngineName)
            match = i;
    if (match == 0) {
        // Never chosen by the user: the default name is one voice of one
        // maker, so take the first English voice there is. A name the user
        // stored must match exactly.
        const QString absent = QStringLiteral("\u0001");
        if (settings::get(settings::SettingsSection, settings::name(settings::Key::SapiEngine), absent) == absent) {
            for (int i = 1; i <= count && match == 0; ++i)
                if (sapi_->voiceName(i).contains(u"English"))
                    match = i;
            if (match != 0)
                form_.SapiEngineName = sapi_->voiceName(match);
        }
    }
    if (match == 0) {
        form_.EnglishMode = false;
        return true;
    }
    if (!sapi_->setCurrentVoice(match)) {
        form_.EnglishMode = false;
        return sapi_->release();
    }
    form_.EnglishMode = true;
    form_.SapiEngineID = QString::number(match);
    // The speed the user chose in the voice dialog.
    const int step = std::clamp(form_.SapiEngineSpeed, 1, 9);
    const double speed = sapi_->minSpeed() + (sapi_->maxSpeed() - sapi_->minSpeed()) / 8.0 * (step - 1);
    sapi_->setSpeed(int(std::nearbyint(speed)));
    sapi_->stop();
    return true;
}

bool SpeechLayer::checkEnglishVoice()
{
    form_.CaptureActive = false;
    if (!sapi_)
        sapi_ = EnglishVoice::create();
    if (sapi_) {
        // An English voice that cannot play at all (no audio device) is
        // given up at its first failure: English goes to the screen reader,
        // starting with the text it lost.
        connect(sapi_.get(), &EnglishVoice::cannotPlay, this, [this](const QString &text) {
            form_.EnglishMode = false;
            EnglishSetting(false);
            if (form_.Voice1 && !text.isEmpty())
                form_.Voice1->Speak(text, 0);
        });
    }
    if (!EnglishCheck()) {
        showMessage(&form_, QMessageBox::Warning, StartupErrorTitle,
                    QStringLiteral("SAPI4.0がインストールされていません"));
        return false;
    }
    EnglishSetting(form_.EnglishMode);
    return true;
}

void SpeechLayer::stopForShutdown()
{
    form_.AllReadFlag = false;
    if (form_.Voice1)
        form_.Voice1->StopSpeech();
    BrixFree();
    if (form_.OrvBack)
        form_.OrvBack->Shutdown();
    if (announcer_)
        announcer_->setEnabled(false);
}

void SpeechLayer::sayFarewell()
{
    if (!form_.Voice1)
        return;
    form_.Voice1->Speak(QStringLiteral("ランプの英和 和英辞典 おわり"), 0);
    form_.Voice1->Settle();
}
