#pragma once
// The reading commands over the result pane: read-all from the cursor in
// chunks with the chunk being read highlighted, going back or skipping on
// the reading buttons' flags; the paragraph; English from the cursor; the
// word at the cursor; the Reading menu; the wide caret; the lock of the
// window during a range command.

#include "speech/panetext.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class MainForm;
class RichTextBox;
class SpeechLayer;

class Reading : public QObject {
    Q_OBJECT
public:
    Reading(MainForm &form, SpeechLayer &layer, std::shared_ptr<bool> alive);
    ~Reading() override;

    void AllRead();
    void ParaYomi(); // 読み: reads the paragraph at the caret
    QString GetCurStr();
    void setCursol(RichTextBox *box); // "cursor": the wide caret in `box`
    void QevSelSet(bool setFlag);     // locks (true) the window for a range command
    void SetYomiMenu(bool tFlag);     // enables the Reading (読み) menu

    // The Reading menu.
    void mnu_yomi_Open();
    void mnu_yomi_all_top_Click();
    void mnu_yomi_english_Click();
    void mnu_yomi_all_Click();
    void mnu_yomi_para_Click();
    void mnu_yomi_line_Click();
    void mnu_yomi_speed_Click();
    void mnu_yomi_cursolmove_Click();
    void mnu_yomi_cursolpos_Click();
    // The screen reader's read-all key, handed over after its event.
    void readAllKey();
    void Timer1_Timer();

private:
    enum class Voice { ScreenReader, English };
    enum class Pause { Wait, Settle };
    struct ReadAllState;

    // `text`, which begins at `start` of the pane's text, with the readings
    // the entry gives its words.
    QString withReadings(const PaneText &pane, int start, const QString &text) const;
    bool speakChunk(ReadAllState &s, Voice voice, Pause pause);
    bool BackBack(const QString &text, int pos, int &cursor);
    void showChunk(const PaneText &pane, int start, int length);
    void refreshPane(ReadAllState &s);
    void connectCommands();
    // Runs a reading command of the screen reader, unless an input method
    // composition is open.
    void screenReaderStep(const std::function<void()> &call);

    MainForm &form_;
    SpeechLayer &layer_;
    std::shared_ptr<bool> alive_;
    bool paneChanged_ = false;
};
