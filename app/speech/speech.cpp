#include "speech/speech.h"

#include "form/mainform.h"
#include "speech/imecomposition.h"
#include "speech/reading.h"
#include "speech/speechlayer.h"

#include <QLabel>

Speech::Speech(MainForm &form)
    : form_(form), alive_(std::make_shared<bool>(true)), ime_(std::make_unique<ImeComposition>()),
      layer_(std::make_unique<SpeechLayer>(form, alive_)), reading_(std::make_unique<Reading>(form, *layer_, alive_))
{
    layer_->setReadAllKeyHandler([this] { reading_->readAllKey(); });
}

Speech::~Speech()
{
    // A reading or a wait that is still running further up the stack must
    // not touch the window again.
    *alive_ = false;
}

void Speech::SapiGo(const QString &text)
{
    layer_->SapiGo(text);
}
void Speech::SapiCancel()
{
    layer_->SapiCancel();
}
void Speech::AllCancel()
{
    layer_->AllCancel();
}
void Speech::AllReadWait()
{
    layer_->AllReadWait();
}
void Speech::AllReadWaitSapi()
{
    layer_->AllReadWaitSapi();
}

void Speech::AllRead()
{
    reading_->AllRead();
}
void Speech::ParaYomi()
{
    reading_->ParaYomi();
}
QString Speech::GetCurStr()
{
    return reading_->GetCurStr();
}
void Speech::setCursol(RichTextBox *box)
{
    reading_->setCursol(box);
}
void Speech::QevSelSet(bool setFlag)
{
    reading_->QevSelSet(setFlag);
}
void Speech::SetYomiMenu(bool enabled)
{
    reading_->SetYomiMenu(enabled);
}
void Speech::mnu_yomi_english_Click()
{
    reading_->mnu_yomi_english_Click();
}

bool Speech::createScreenReader()
{
    return layer_->createScreenReader();
}
void Speech::loadBrailleTable()
{
    layer_->loadBrailleTable();
}
bool Speech::checkEnglishVoice()
{
    return layer_->checkEnglishVoice();
}

void Speech::VIconSet()
{
    // At start-up the greyed picture covers the reading buttons until the
    // first check; from then on the check runs every 4 seconds.
    if (!indicatorStarted_) {
        indicatorStarted_ = true;
        form_.Image2->show();
        form_.chkOrrin.start();
    }
    layer_->VIconSet();
}

void Speech::stopForShutdown()
{
    layer_->stopForShutdown();
}
void Speech::sayFarewell()
{
    layer_->sayFarewell();
}
