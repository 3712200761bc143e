#pragma once
// The speech layer and the reading commands as the rest of the main window
// sees them. The implementation lives with the speech code and is installed
// on MainForm at start-up; until then every command does nothing, so the
// window's own procedures never depend on how speech is built.

#include <QString>

class RichTextBox;

class SpeechCommands {
public:
    virtual ~SpeechCommands() = default;

    // Speech output layer.
    virtual void SapiGo(const QString &text) { (void)text; }
    virtual void SapiCancel() {}
    virtual void AllCancel() {}
    virtual void AllReadWait() {}
    virtual void AllReadWaitSapi() {}

    // Reading commands over the result pane.
    virtual void AllRead() {}
    virtual void ParaYomi() {} // 読み: reads the paragraph at the caret
    virtual QString GetCurStr() { return {}; }
    virtual void setCursol(RichTextBox *box) { (void)box; }   // "cursor": the wide caret in `box`
    virtual void QevSelSet(bool setFlag) { (void)setFlag; }   // locks (true) the window for a range command
    virtual void SetYomiMenu(bool enabled) { (void)enabled; } // enables the Reading (読み) menu
    virtual void mnu_yomi_english_Click() {}

    // Start-up and shutdown steps that concern speech. Each start-up step
    // returns false when the program must end (its message already shown).
    virtual bool createScreenReader() { return true; } // Voice1, OrvBack, Setup(97)
    virtual void loadBrailleTable() {}                 // BrixSet and the one-time warning
    virtual bool checkEnglishVoice() { return true; }  // EnglishCheck, EnglishSetting
    virtual void VIconSet() {}                         // the screen-reader presence indicator
    virtual void stopForShutdown() {}                  // AllReadFlag off, StopSpeech, BrixFree, Shutdown
    virtual void sayFarewell() {}                      // "ランプの英和 和英辞典 おわり", Settle
};
