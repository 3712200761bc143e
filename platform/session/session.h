#pragma once
// The program's ties to the user's login session.

#include <QObject>
#include <QString>

namespace session {

// The name of the local socket through which a second start of the program
// finds the running one: one per user (and per login session where the
// platform keeps a runtime folder, in a private folder of the program's own
// inside it, never changing the runtime folder itself).
QString instanceServerName();

// Turns the requests to end the program that do not come through its window
// (SIGTERM, SIGHUP and SIGINT on POSIX systems; closing the console on
// Windows) into the signal terminationRequested, delivered on the thread that
// created the watcher. Only one watcher may exist at a time; the previous
// handlers are restored when it is destroyed.
class TerminationWatcher : public QObject {
    Q_OBJECT
public:
    explicit TerminationWatcher(QObject *parent = nullptr);
    ~TerminationWatcher() override;

signals:
    void terminationRequested(int signalNumber);

private:
    struct Private;
    Private *d;
};

} // namespace session
