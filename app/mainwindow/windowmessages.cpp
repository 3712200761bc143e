#include "mainwindow/windowmessages.h"

#include "form/mainform.h"
#include "mainwindow/trayresidence.h"
#include "mainwindow/windowsteps.h"

WindowMessages::WindowMessages(MainForm &form, TrayResidence &tray) : form_(form), tray_(tray)
{
    connect(&form_.TimerHook, &QTimer::timeout, this, &WindowMessages::TimerHook_Timer);
}

void WindowMessages::restartTimer()
{
    form_.TimerHook.stop();
    form_.TimerHook.start();
}

void WindowMessages::receive(int message, int wParam)
{
    LastHookMessage = message;
    if (message != ActivateApp) {
        restartTimer();
        return;
    }
    // Every activation change is remembered, also one that restarts
    // nothing: a capture followed by the program's own activation is
    // dropped.
    ActivateWParam = wParam;
    if (wParam != 0)
        return;
    if (form_.AllReadFlag) {
        form_.CaptureActive = false;
        form_.AllReadFlag = false;
    } else {
        restartTimer();
    }
}

void WindowMessages::TimerHook_Timer()
{
    form_.TimerHook.stop();
    switch (LastHookMessage) {
    case ShowRequest:
        if (form_.TrayResident)
            tray_.SetResident(false);
        else
            windowsteps::ShowMe(form_); // minimised or behind other windows
        break;
    case ActivateApp:
        if (ActivateWParam == 0)
            emit applicationDeactivated();
        break;
    default: emit captureArrived(); break;
    }
}
