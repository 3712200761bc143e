#include "mainwindow/windowmessages.h"

#include "form/mainform.h"
#include "mainwindow/lifecycle.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/trayresidence.h"

WindowMessages::WindowMessages(MainForm &form, MainWindow &window) : form_(form), window_(window)
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
            window_.tray().SetResident(false);
        else
            window_.lifecycle().ShowMe(); // minimised or behind other windows
    }
}
