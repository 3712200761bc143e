#include "screenreader/screenreaderstatus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QFileInfo>

namespace {

const QString Service = QStringLiteral("org.a11y.Bus");
const QString Path = QStringLiteral("/org/a11y/bus");
const QString StatusInterface = QStringLiteral("org.a11y.Status");
const QString Property = QStringLiteral("ScreenReaderEnabled");
const QString PropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

// Whether there is a session bus to connect to. Without one, D-Bus would
// start a bus of its own (autolaunch) that outlives the program.
bool sessionBusAvailable()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        return false;
    // QFileInfo says neither file nor folder for a socket.
    const QFileInfo socket(runtime + QStringLiteral("/bus"));
    return socket.exists() && !socket.isFile() && !socket.isDir() && !socket.isSymLink();
}

} // namespace

ScreenReaderStatus::ScreenReaderStatus(QObject *parent) : QObject(parent)
{
    if (!sessionBusAvailable())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    watching_ = true;
    bus.connect(Service, Path, PropertiesInterface, QStringLiteral("PropertiesChanged"), this,
                SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)));
    auto *owner = new QDBusServiceWatcher(Service, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(owner, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString &, const QString &, const QString &now) {
                if (now.isEmpty())
                    setRunning(false);
                else
                    query();
            });
    query();
}

ScreenReaderStatus::~ScreenReaderStatus() = default;

void ScreenReaderStatus::query()
{
    QDBusMessage get = QDBusMessage::createMethodCall(Service, Path, PropertiesInterface, QStringLiteral("Get"));
    get << StatusInterface << Property;
    get.setAutoStartService(false); // asks a running launcher; never starts one
    delete pending_;                // its answer is out of date
    pending_ = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(get), this);
    connect(pending_, &QDBusPendingCallWatcher::finished, this, &ScreenReaderStatus::onAnswer);
}

void ScreenReaderStatus::onAnswer(QDBusPendingCallWatcher *call)
{
    if (call != pending_)
        return;
    pending_ = nullptr;
    call->deleteLater();
    const QDBusPendingReply<QDBusVariant> reply = *call;
    // No service or no such property: no screen reader.
    setRunning(!reply.isError() && reply.value().variant().toBool());
}

void ScreenReaderStatus::onPropertiesChanged(const QString &interface, const QVariantMap &changed,
                                             const QStringList &invalidated)
{
    if (interface != StatusInterface)
        return;
    if (changed.contains(Property))
        setRunning(changed.value(Property).toBool());
    else if (invalidated.contains(Property))
        query();
}

void ScreenReaderStatus::setRunning(bool running)
{
    if (running == running_)
        return;
    running_ = running;
    emit runningChanged(running);
}
