#include "session/session.h"

#include <QMetaObject>
#include <QPointer>

#include <windows.h>

namespace session {

QString instanceServerName()
{
    // Local sockets are named pipes, visible to every session: the user's
    // name and the session id keep them apart.
    DWORD sessionId = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &sessionId);
    return QStringLiteral("wordlamp-%1-%2").arg(qEnvironmentVariable("USERNAME")).arg(sessionId);
}

namespace {
QPointer<TerminationWatcher> watcher;

BOOL WINAPI onConsoleEvent(DWORD event)
{
    if (event != CTRL_CLOSE_EVENT && event != CTRL_LOGOFF_EVENT && event != CTRL_SHUTDOWN_EVENT &&
        event != CTRL_C_EVENT)
        return FALSE;
    if (TerminationWatcher *w = watcher.data())
        QMetaObject::invokeMethod(w, "terminationRequested", Qt::QueuedConnection, Q_ARG(int, int(event)));
    return TRUE;
}
} // namespace

struct TerminationWatcher::Private {};

TerminationWatcher::TerminationWatcher(QObject *parent) : QObject(parent), d(nullptr)
{
    watcher = this;
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

TerminationWatcher::~TerminationWatcher()
{
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    watcher = nullptr;
}

} // namespace session
