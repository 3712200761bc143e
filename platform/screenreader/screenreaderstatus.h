#pragma once
// Whether a screen reader (Orca) runs in the desktop session. The desktop
// publishes it on the D-Bus session bus as the property ScreenReaderEnabled
// of the interface org.a11y.Status, on the object /org/a11y/bus of the
// service org.a11y.Bus (the accessibility bus launcher); the screen reader
// sets it while it runs. The watch follows the property, and the service
// coming and going, without ever waiting for an answer.
//
// Without a session bus no screen reader runs. A session bus is used only
// when one is there (its address in the environment, or the bus socket in
// the runtime folder): the watch never has one started.

#include <QObject>
#include <QVariantMap>

class QDBusPendingCallWatcher;

class ScreenReaderStatus : public QObject {
    Q_OBJECT
public:
    explicit ScreenReaderStatus(QObject *parent = nullptr);
    ~ScreenReaderStatus() override;

    bool running() const { return running_; }
    // False when there is no session bus to watch.
    bool watching() const { return watching_; }

signals:
    void runningChanged(bool running);

private slots:
    void onPropertiesChanged(const QString &interface, const QVariantMap &changed, const QStringList &invalidated);

private:
    void query();
    void onAnswer(QDBusPendingCallWatcher *call);
    void setRunning(bool running);

    bool watching_ = false;
    bool running_ = false;
    QDBusPendingCallWatcher *pending_ = nullptr; // the latest question asked
};
