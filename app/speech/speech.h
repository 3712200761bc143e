#pragma once
// Speech and reading as the main window uses them: the speech layer and the
// reading commands behind the SpeechCommands interface. Install it with
// form.setSpeech(std::make_unique<Speech>(form)).

#include "form/speechcommands.h"

#include <memory>

class Announcer;
class EnglishVoice;
class ImeComposition;
class MainForm;
class Reading;
class SpeechLayer;

class Speech : public SpeechCommands {
public:
    explicit Speech(MainForm &form);
    ~Speech() override;

    void SapiGo(const QString &text) override;
    void SapiCancel() override;
    void AllCancel() override;
    void AllReadWait() override;
    void AllReadWaitSapi() override;

    void AllRead() override;
    void ParaYomi() override; // 読み: reads the paragraph at the caret
    QString GetCurStr() override;
    void setCursol(RichTextBox *box) override; // "cursor": the wide caret
    void QevSelSet(bool setFlag) override;     // locks the window for a range command
    void SetYomiMenu(bool enabled) override;   // enables the Reading (読み) menu
    void mnu_yomi_english_Click() override;

    bool createScreenReader() override;
    void loadBrailleTable() override;
    bool checkEnglishVoice() override;
    void VIconSet() override;
    void stopForShutdown() override;
    void sayFarewell() override;

    SpeechLayer &layer() { return *layer_; }
    Reading &reading() { return *reading_; }

private:
    MainForm &form_;
    std::shared_ptr<bool> alive_;
    std::unique_ptr<ImeComposition> ime_;
    std::unique_ptr<SpeechLayer> layer_;
    std::unique_ptr<Reading> reading_;
    bool indicatorStarted_ = false;
};
