#include "mainwindow/windowmessages.h"

#include "form/mainform.h"
#include "mainwindow/trayresidence.h"
#include "mainwindow/windowsteps.h"

WindowMessages::WindowMessages(MainForm &form, TrayResidence &tray) : form_(form), tray_(tray)
{
    connect(&form_.TimerHook, &QTimer::timeout, this, &WindowMessages::TimerHook_Timer);
}

void WindowMessages::receive(int message)
{
    LastHookMessage = message;
    form_.TimerHook.stop();
    form_.TimerHook.start();
}

void WindowMessages::TimerHook_Timer()
{
    form_.TimerHook.stop();
    if (LastHookMessage == ShowRequest) {
        if (form_.TrayResident)
            tray_.SetResident(false);
        else
            windowsteps::ShowMe(form_); // minimised or behind other windows
    }
}
