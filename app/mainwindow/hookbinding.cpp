#include "mainwindow/hookbinding.h"

#include "datapaths/datapaths.h"

#include <QCoreApplication>
#include <QDir>

HookBinding::HookBinding() = default;

HookBinding::~HookBinding()
{
    UnHookKeyHandler();
    // The library stays mapped until the process ends: the hook's worker may
    // still be finishing, and unloading gains nothing.
}

void HookBinding::setApi(const Api &api)
{
    api_ = api;
    injected_ = true;
}

bool HookBinding::bind()
{
    if (bound_)
        return true;
    if (!injected_) {
        const QString folder = folder_.isEmpty() ? datapaths::libraryFolder() : folder_;
        library_.setFileName(QDir(folder).filePath(QString::fromLatin1(wlhook::LibraryName)));
        if (!library_.load()) {
            error_ = library_.errorString();
            return false;
        }
        const auto resolve = [this](const char *name) -> QFunctionPointer {
            QFunctionPointer f = library_.resolve(name);
            if (!f && error_.isEmpty())
                error_ = QStringLiteral("%1: %2").arg(QString::fromLatin1(name), library_.errorString());
            return f;
        };
        api_.HookKeyHandler = reinterpret_cast<decltype(api_.HookKeyHandler)>(resolve("HookKeyHandler"));
        api_.UnHookKeyHandler = reinterpret_cast<decltype(api_.UnHookKeyHandler)>(resolve("UnHookKeyHandler"));
        api_.GetString = reinterpret_cast<decltype(api_.GetString)>(resolve("GetString"));
        api_.GetStrLength = reinterpret_cast<decltype(api_.GetStrLength)>(resolve("GetStrLength"));
        api_.GetScreenCaret = reinterpret_cast<decltype(api_.GetScreenCaret)>(resolve("GetScreenCaret"));
    }
    if (!api_.HookKeyHandler || !api_.UnHookKeyHandler || !api_.GetString || !api_.GetStrLength ||
        !api_.GetScreenCaret) {
        if (error_.isEmpty())
            error_ = QStringLiteral("Wlhook: a function is missing");
        api_ = {};
        return false;
    }
    bound_ = true;
    return true;
}

int32_t HookBinding::HookKeyHandler(WlhookWindow window, int32_t keyFunc)
{
    if (!bound_)
        return 0;
    hooked_ = true;
    return api_.HookKeyHandler(window, wlhook::NotifyMessage, wlhook::FirstFunctionKey - 1 + keyFunc);
}

void HookBinding::UnHookKeyHandler()
{
    if (bound_ && hooked_)
        api_.UnHookKeyHandler();
    hooked_ = false;
}
