#pragma once
// One running copy per user. The first start listens on a per-user local
// socket; a second start finds it there, sends the show request (message
// 1025) and ends before it creates the screen reader or hooks anything. A
// socket left behind by a copy that crashed is noticed (nobody answers on it)
// and replaced. A copy keeps answering whatever other processes send it:
// requests are short lines, few connections are served at once, and a
// server that stopped listening listens again.

#include <QObject>
#include <QString>
#include <QTimer>

class QLocalServer;
class QLocalSocket;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr int ShowRequest = 1025;

    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    // The socket's name (default: the per-user name of the session).
    void setServerName(const QString &name) { name_ = name; }
    QString serverName() const;

    // True when another copy is running: it has been asked to come forward
    // and this start must end. Otherwise this copy now answers later starts.
    bool DuplicateLoad();
    bool isListening() const;
    // Stops answering (at shutdown).
    void close();

signals:
    // A later start asked this copy to come forward.
    void messageReceived(int message);

private:
    bool handOver(const QString &name);
    bool listen(const QString &name);
    void listenAgain();
    void onNewConnection();
    void readRequests(QLocalSocket *socket);

    QString name_;
    QLocalServer *server_ = nullptr;
    QTimer listenCheck_;
    int connections_ = 0; // connections being served
};
