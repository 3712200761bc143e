#pragma once
// The pop-up list of earlier words (List1), opened by Down in the input box:
// the words before the current history entry, newest first. Enter or a
// double-click looks the chosen word up; Esc, or Up on the first word, goes
// back to the input box.

#include <QObject>

class History;
class MainForm;
class QuickGuide;

class HistoryPopup : public QObject {
    Q_OBJECT
public:
    HistoryPopup(MainForm &form, History &history, QuickGuide &quickGuide);

    void open();

    void List1_KeyDown(int &KeyCode, int Shift);
    void List1_KeyUp(int &KeyCode, int Shift);
    void List1_DblClick();
    void List1_GotFocus();
    void List1_LostFocus();

private:
    void backToInputBox();

    MainForm &form_;
    History &history_;
    QuickGuide &quickGuide_;
};
