#include "mainwindow/singleinstance.h"

#include "session/session.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace {
constexpr int HandOverTimeoutMs = 2000;
const QByteArray showRequestLine = QByteArrayLiteral("1025\n");
} // namespace

SingleInstance::SingleInstance(QObject *parent) : QObject(parent)
{
}

SingleInstance::~SingleInstance()
{
    close();
}

QString SingleInstance::serverName() const
{
    return name_.isEmpty() ? session::instanceServerName() : name_;
}

bool SingleInstance::isListening() const
{
    return server_ && server_->isListening();
}

bool SingleInstance::DuplicateLoad()
{
    const QString name = serverName();
    if (handOver(name))
        return true;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    if (!server_->listen(name)) {
        // Nobody answered, so the socket is a leftover of a copy that ended
        // without closing it: take its place.
        QLocalServer::removeServer(name);
        if (!server_->listen(name)) {
            // Another copy may have started in the meantime.
            if (handOver(name))
                return true;
            // No socket can be made here: run without the hand-over.
        }
    }
    return false;
}

bool SingleInstance::handOver(const QString &name)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(HandOverTimeoutMs))
        return false;
    socket.write(showRequestLine);
    if (!socket.waitForBytesWritten(HandOverTimeoutMs))
        return false;
    // Wait for the running copy to take the request, so that it is not lost
    // when this process ends at once.
    socket.waitForReadyRead(HandOverTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket *socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                const QByteArray line = socket->readLine().trimmed();
                bool ok = false;
                const int message = line.toInt(&ok);
                socket->write("ok\n");
                socket->flush();
                if (ok && message == ShowRequest)
                    emit messageReceived(message);
            }
        });
    }
}

void SingleInstance::close()
{
    if (server_) {
        server_->close();
        delete server_;
        server_ = nullptr;
    }
}
