#include "doevents.h"

#include <QCoreApplication>

namespace eventloop {

namespace {
// The window's thread is the only one that runs events.
int guardDepth = 0;
int holdDepth = 0;
} // namespace

bool mayRunEvents()
{
    return guardDepth == 0;
}

bool DoEvents(QEventLoop::ProcessEventsFlags flags)
{
    if (!mayRunEvents())
        return false;
    QCoreApplication::processEvents(waitFlags(flags));
    return true;
}

QEventLoop::ProcessEventsFlags waitFlags(QEventLoop::ProcessEventsFlags flags)
{
    if (holdDepth > 0)
        flags |= QEventLoop::ExcludeUserInputEvents;
    return flags;
}

EventLoopGuard::EventLoopGuard()
{
    ++guardDepth;
}

EventLoopGuard::~EventLoopGuard()
{
    --guardDepth;
}

UserInputHold::UserInputHold()
{
    ++holdDepth;
}

UserInputHold::~UserInputHold()
{
    --holdDepth;
}

} // namespace eventloop
