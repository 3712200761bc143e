#pragma once
// Messages for the main window that are handled a moment later, when
// TimerHook fires: the last message before the tick decides what is done.
// Here: the show request of a second start (1025), which brings the window
// forward, out of the notification area if it is there.

#include <QObject>

class MainForm;
class TrayResidence;

class WindowMessages : public QObject {
    Q_OBJECT
public:
    static constexpr int ShowRequest = 1025;

    WindowMessages(MainForm &form, TrayResidence &tray);

    // A message arrived: remember it and restart TimerHook.
    void receive(int message);
    int LastHookMessage = 0;

    void TimerHook_Timer();

private:
    MainForm &form_;
    TrayResidence &tray_;
};
