#pragma once
// Delivers the events of the main window's controls to their handlers, in
// the order the handlers expect: for one keystroke the window's key-down,
// the pane's key-down, the window's key-press, the pane's key-press, then on
// release the window's key-up and the pane's key-up. A handler that sets the
// key code (or character) to 0 hides the key from the handlers after it and
// from the control. Also focus changes, clicks, dropped text, activation and
// closing of the window.

#include <QObject>

class FormKeys;
class HistoryPopup;
class InputBox;
class Lifecycle;
class MainForm;
class QFocusEvent;
class QKeyEvent;
class QWidget;
class ResultPane;

class EventRouter : public QObject {
    Q_OBJECT
public:
    EventRouter(MainForm &form, Lifecycle &lifecycle, FormKeys &formKeys, InputBox &inputBox, ResultPane &resultPane,
                HistoryPopup &historyPopup);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Pane { None, Text1, Text2, List1 };
    Pane paneOf(QObject *watched) const;
    void focus(Pane pane, const QFocusEvent *event);
    void lostFocus(Pane pane);
    bool keyPress(Pane pane, QKeyEvent *event);
    bool keyRelease(Pane pane, QKeyEvent *event);
    bool mouse(QObject *watched, QEvent *event);
    bool drop(Pane pane, QEvent *event);

    MainForm &form_;
    Lifecycle &lifecycle_;
    FormKeys &formKeys_;
    InputBox &inputBox_;
    ResultPane &resultPane_;
    HistoryPopup &historyPopup_;
    Pane focused_ = Pane::None; // the pane whose focus the handlers last heard of
    bool menuBarLeft_ = false;  // Escape pressed in the menu bar, the focus not yet back
};
