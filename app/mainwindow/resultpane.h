#pragma once
// The result pane (Text2). It is read-only: every key that would edit is
// swallowed; movement keys stop a reading, extend a pending keyboard range
// selection, and announce the top and bottom edges; the reading commands
// and copy run on key release.

#include <QObject>

class EditCommands;
class MainForm;
class QuickGuide;
class RangeCommand;
class SearchWindow;

class ResultPane : public QObject {
    Q_OBJECT
public:
    ResultPane(MainForm &form, QuickGuide &quickGuide, SearchWindow &search, EditCommands &edit, RangeCommand &range);

    // A key release as the pane's window sees it, before any handler: true
    // when it goes no further (a navigation key while a keyboard range
    // selection waits for its end point; speech stops).
    bool ResultWndProc_KeyUp(int KeyCode);

    void Text2_KeyDown(int &KeyCode, int Shift);
    void Text2_KeyPress(int &KeyAscii);
    void Text2_KeyUp(int &KeyCode, int Shift);
    void Text2_Change();
    void Text2_SelChange();
    void Text2_GotFocus();
    void Text2_LostFocus();
    void Text2_Click();
    // True when the press must not reach the pane (the window's menu opened).
    bool Text2_MouseDown(bool rightButton);
    void Text2_MouseMove();
    void Text2_MouseUp();
    void Text2_OLEDragDrop(const QString &text);

    // The band around the pane and the labels.
    void Label1_Click();
    void Label2_Click();
    void Label3_Click();
    void Label3_DblClick();
    void Form_Click();

    // The caret is on the first line / the last line of the pane.
    bool onFirstLine() const;
    bool onLastLine() const;

private:
    void escape();
    void postKey(int virtualKey, int shift);

    MainForm &form_;
    QuickGuide &quickGuide_;
    SearchWindow &search_;
    EditCommands &edit_;
    RangeCommand &range_;
    bool inSelChange_ = false;
};
