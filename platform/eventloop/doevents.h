#pragma once
// Letting pending window events run in the middle of a long operation, and
// the places where that must not happen.
//
// A lookup, a read-all or a display change lets the window's events run
// between its steps, so that a key can stop it. Running them is only safe
// where no widget is inside its own event handler and no text document is
// in the middle of a change: a nested key press, paste or paint there edits
// or lays out the document that the outer handler is still changing (the
// crash of a paste or a selection in a text box). Such code runs inside an
// `EventLoopGuard`; `DoEvents` and the waits built on it then return at
// once and leave the events to the window's own loop.

#include <QEventLoop>

namespace eventloop {

// Runs the pending events, unless a guard is active. Returns whether it did.
// While a `UserInputHold` is active, keys and clicks wait for later.
bool DoEvents(QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents);

// Whether events may run here (no guard is active).
bool mayRunEvents();

// The flags a wait passes to its event loop: `flags`, holding user input
// back while a `UserInputHold` is active.
QEventLoop::ProcessEventsFlags waitFlags(QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents);

// Marks a stretch of code in which no event may run. Nests.
class EventLoopGuard {
public:
    EventLoopGuard();
    ~EventLoopGuard();
    EventLoopGuard(const EventLoopGuard &) = delete;
    EventLoopGuard &operator=(const EventLoopGuard &) = delete;
};

// Marks a short wait (a word being spoken to its end) during which the
// user's keys and clicks stay queued, in their order, until the wait is
// over: a key handler that waits is then never run again inside itself.
class UserInputHold {
public:
    UserInputHold();
    ~UserInputHold();
    UserInputHold(const UserInputHold &) = delete;
    UserInputHold &operator=(const UserInputHold &) = delete;
};

} // namespace eventloop
