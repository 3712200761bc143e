#pragma once
// Messages for the main window that are handled a moment later, when
// TimerHook fires: the last message before the tick decides what is done,
// so a burst of them is handled once. The capture library's notification
// (1024) becomes a lookup of the captured word; another application
// becoming active (28 with wParam 0) ends a capture search and closes the
// program's dialogs; the show request of a second start (1025) brings the
// window forward, out of the notification area if it is there.

#include <QObject>

class MainForm;
class TrayResidence;

class WindowMessages : public QObject {
    Q_OBJECT
public:
    static constexpr int HookNotify = 1024;
    static constexpr int ShowRequest = 1025;
    static constexpr int ActivateApp = 28;

    WindowMessages(MainForm &form, TrayResidence &tray);

    // A message arrived: remember it and, where it asks for handling,
    // restart TimerHook. For ActivateApp, wParam is 1 when the program
    // becomes the active application and 0 when another one does.
    void receive(int message, int wParam = 0);
    void receiveMessage(int message) { receive(message); }
    int LastHookMessage = 0;
    int ActivateWParam = 1;

    void TimerHook_Timer();

signals:
    // TimerHook fired for a capture notification.
    void captureArrived();
    // TimerHook fired after another application became active.
    void applicationDeactivated();

private:
    void restartTimer();

    MainForm &form_;
    TrayResidence &tray_;
};
