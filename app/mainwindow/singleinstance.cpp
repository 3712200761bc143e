#include "mainwindow/singleinstance.h"

#include "session/session.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace {
constexpr int HandOverTimeoutMs = 2000;
const QByteArray showRequestLine = QByteArrayLiteral("1025\n");
// What one connection may hold: a request is a short line ("1025\n"); a
// longer one is not a request, and a connection that says nothing in time
// is closed. Few connections are served at once.
constexpr qint64 MaxLineBytes = 64;
constexpr int MaxConnections = 8;
constexpr int ConnectionTimeoutMs = 5000;
// How often a copy checks that it still answers.
constexpr int ListenCheckMs = 1000;
} // namespace

SingleInstance::SingleInstance(QObject *parent) : QObject(parent)
{
    listenCheck_.setInterval(ListenCheckMs);
    connect(&listenCheck_, &QTimer::timeout, this, &SingleInstance::listenAgain);
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
    // Taken but not yet served: the server stops taking more meanwhile.
    server_->setMaxPendingConnections(MaxConnections);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    if (!listen(name) && handOver(name))
        return true; // another copy started in the meantime
    // Without a socket the program runs without the hand-over.
    listenCheck_.start();
    return false;
}

bool SingleInstance::listen(const QString &name)
{
    if (server_->listen(name))
        return true;
    // Nobody answered, so the socket is a leftover of a copy that ended
    // without closing it: take its place.
    QLocalServer::removeServer(name);
    return server_->listen(name);
}

void SingleInstance::listenAgain()
{
    // The server stops for good, and removes its socket, when it fails to
    // take a connection (no file descriptors left after a flood of them):
    // it listens again once it can.
    if (!server_ || server_->isListening())
        return;
    const QString name = serverName();
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(0))
        return; // another copy answers there now
    listen(name);
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
    // The connections beyond the few served wait in the queue: a request
    // that waits is read when its turn comes, even after its sender ended.
    while (connections_ < MaxConnections) {
        QLocalSocket *socket = server_->nextPendingConnection();
        if (!socket)
            return;
        ++connections_;
        connect(socket, &QObject::destroyed, this, [this] {
            --connections_;
            QMetaObject::invokeMethod(this, &SingleInstance::onNewConnection, Qt::QueuedConnection);
        });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        socket->setReadBufferSize(MaxLineBytes);
        QTimer::singleShot(ConnectionTimeoutMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequests(socket); });
        readRequests(socket); // what came before the connection was taken
    }
}

void SingleInstance::readRequests(QLocalSocket *socket)
{
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine(MaxLineBytes).trimmed();
        bool ok = false;
        const int message = line.toInt(&ok);
        socket->write("ok\n");
        socket->flush();
        if (ok && message == ShowRequest)
            emit messageReceived(message);
    }
    if (socket->bytesAvailable() >= MaxLineBytes || socket->state() != QLocalSocket::ConnectedState) {
        // No line end where a request would have one, or nothing more to come.
        socket->abort();
        socket->deleteLater();
    }
}

void SingleInstance::close()
{
    listenCheck_.stop();
    if (server_) {
        server_->close();
        delete server_;
        server_ = nullptr;
    }
}
