#pragma once
// The Wlhook library, bound by name from the program's folder at start-up:
// its five functions are resolved there, and the keyboard hook is installed
// with the main window as the window to notify. The program cannot run
// without the library; a failed binding says why.

#include "wlhook.h"

#include <QLibrary>
#include <QString>

class HookBinding {
public:
    // The library's functions, as the program calls them.
    struct Api {
        HookKeyHandlerFunction HookKeyHandler = nullptr;
        UnHookKeyHandlerFunction UnHookKeyHandler = nullptr;
        GetStringFunction GetString = nullptr;
        GetStrLengthFunction GetStrLength = nullptr;
        GetScreenCaretFunction GetScreenCaret = nullptr;
    };

    HookBinding();
    ~HookBinding();

    // The folder the library is loaded from (default: the program's folder).
    void setFolder(const QString &folder) { folder_ = folder; }
    // Tests: use these functions instead of loading the library.
    void setApi(const Api &api);

    // Loads the library and resolves all five functions; false, with the
    // reason in errorString(), when the library is missing or lacks one.
    bool bind();
    QString errorString() const { return error_; }
    bool isBound() const { return bound_; }

    // Installs the hook: the window to notify, message 1024, and the hot key
    // as a virtual-key code (111 + the function-key number).
    int32_t HookKeyHandler(WlhookWindow window, int32_t keyFunc);
    // Removes the hook; nothing when it was never installed.
    void UnHookKeyHandler();
    const Api &api() const { return api_; }

private:
    QString folder_;
    QLibrary library_;
    Api api_;
    bool bound_ = false;
    bool hooked_ = false;
    bool injected_ = false;
    QString error_;
};
