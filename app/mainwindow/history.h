#pragma once
// The search history on the window: recording looked-up words, stepping
// back and forward (menu items, Alt+Left/Right, the toolbar buttons and
// their drop-down lists of words), loading at start-up and saving at
// shutdown; and the enabled state of the word-paging commands.

#include "mainwindow/historymodel.h"

#include <QObject>

class MainForm;

class History : public QObject {
    Q_OBJECT
public:
    explicit History(MainForm &form);

    HistoryModel &model() { return model_; }

    void RirekiKosin(const QString &word); // 履歴更新: records a looked-up word
    void RirekiBack();                     // one step back in the history, looked up again
    void RirekiNext();                     // one step forward in the history, looked up again
    void RirekiLoad();                     // reads the history from the settings at start-up
    void RirekiSave();                     // writes the history to the settings at shutdown
    // Enables the history commands and fills the drop-down lists of the
    // toolbar buttons "戻る" (keys "@b1" ...) and "進む" ("@n1" ...).
    void RirekiSetting();
    // A drop-down item chosen, by its key.
    void chooseItem(const QString &key);
    // A word chosen from the pop-up list of earlier words (0 = the newest).
    void choosePopupWord(int selectedIndex);
    // The word-paging commands: enabled after a successful exact lookup.
    void RollSetting(bool ExecRoll);

    void mnu_file_oldback_Click();
    void mnu_file_oldnext_Click();

signals:
    // A word was chosen from the history (a step back or forward, an item of
    // a drop-down list, the pop-up list) and is now in the input box: it is
    // to be looked up, without being recorded again.
    void wordChosen(const QString &word);

private:
    void lookUp(const QString &word);

    MainForm &form_;
    HistoryModel model_;
};
