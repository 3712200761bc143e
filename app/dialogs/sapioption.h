#pragma once
// The voice for English reading ("英語読みの音声"): the English voices by
// name and the speed in nine steps. While it is open the screen reader is
// silent and the dialog speaks with an English voice of its own: each voice
// chosen says its name, each speed says itself at that speed. The choice is
// stored and used from the next start.

#include "dialogs/optiondialog.h"

#include <memory>

class EnglishVoice;
class QComboBox;
class QListWidget;
class QPushButton;
class QSlider;

namespace dialogs {

class SapiOption : public OptionDialog {
    Q_OBJECT
public:
    SapiOption(MainForm &form, DialogHost &host);
    ~SapiOption() override;

    // False when there is no English voice to choose: the dialog is not shown
    // (the reason has been said).
    bool opened() const { return opened_; }

    void reject() override;
    void done(int result) override;

    QListWidget *List1 = nullptr; // the voices
    QComboBox *Combo1 = nullptr;  // "Speed 1" to "Speed 9"
    QSlider *Slider1 = nullptr;
    QPushButton *Command1 = nullptr, *Command2 = nullptr;

protected:
    bool controlKey(QWidget *control, QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void showGuide(QWidget *control) override;

private:
    bool load();
    void VSpeed(int SpeedId);
    void SapiVoice(int EngineId, bool AddStr);
    void SapiGo(const QString &text);
    void SapiCancel();
    // Lets events run until the sample has started, at most a moment.
    void waitWhileBusy();
    void OkOkOk();
    void Combo1_Click();
    void List1_Click();
    void Timer1_Timer();
    void stepItem(QWidget *control);

    std::unique_ptr<EnglishVoice> SAPI;
    QObject *lastFocused_ = nullptr;
    QTimer Timer1;
    int EngineId = 0;
    bool ActiveFlag = false;
    bool busy_ = false;
    bool locked_ = false;
    bool opened_ = false;
};

} // namespace dialogs
