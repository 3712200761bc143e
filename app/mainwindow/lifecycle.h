#pragma once
// The main window's life: start-up in its twenty steps, activation and
// deactivation, and shutdown in its fixed order. A request to end the
// program from outside the window (a termination signal, the desktop
// session closing) runs the same shutdown, so the history is never lost.

#include "desktop/desktop.h"

#include <QObject>
#include <QStringList>

#include <memory>

class DisplayModes;
class History;
class HookBinding;
class ImeColours;
class MainForm;
class QSessionManager;
class SingleInstance;
class TrayResidence;
class WindowMessages;
namespace session {
class TerminationWatcher;
}

class Lifecycle : public QObject {
    Q_OBJECT
public:
    static inline const QString Version = QStringLiteral("1.100");

    Lifecycle(MainForm &form, HookBinding &hook, History &history, SingleInstance &singleInstance, TrayResidence &tray,
              DisplayModes &display, ImeColours &ime, WindowMessages &messages, desktop::Windows &windows);
    ~Lifecycle() override;

    // Start-up. False when the program must end now (another copy runs, or
    // a failure has been shown); exitCode() then says how.
    bool Form_Load(const QStringList &arguments);
    int exitCode() const { return exitCode_; }
    bool isLoaded() const { return loaded_; }

    void Form_Activate();
    void Form_Deactivate();
    // Shutdown; runs once, whatever asks for it.
    void Form_Unload();
    bool isUnloaded() const { return unloaded_; }
    // Shutdown followed by the end of the event loop.
    void endProgram();

signals:
    // Start-up has come to the menus filled from the installation (the
    // manuals).
    void fillingMenus();

private:
    bool failStartup(int code);
    void placeWindow();
    void watchSessionEnd();

    MainForm &form_;
    HookBinding &hook_;
    History &history_;
    SingleInstance &singleInstance_;
    TrayResidence &tray_;
    DisplayModes &display_;
    ImeColours &ime_;
    WindowMessages &messages_;
    desktop::Windows &windows_;
    bool loaded_ = false;
    bool unloaded_ = false;
    int exitCode_ = 0;
    std::unique_ptr<session::TerminationWatcher> terminationWatcher_;
};
