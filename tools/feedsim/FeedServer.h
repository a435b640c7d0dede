#pragma once

#include <QByteArray>
#include <QHash>
#include <QTcpServer>

#include "tools/feedsim/Frontier.h"

class QTcpSocket;

namespace feedsim {

// How a server's feed misbehaves on request.
enum class Fault { None, NotFound, ServerError, Unavailable, Refuse, Stall, Trickle, Cut, Huge, Malformed, Empty };

bool ParseFault(const QString& name, Fault& fault);

// Serves GET /herald/servers/<Server>/keeps/keeps.xml and a small control API under /control/:
//   advance?steps=N, set?server=S&id=I&realm=R[&guild=G], fault?server=S&kind=K, last-request.
// Listens on 127.0.0.1 only.
class FeedServer : public QObject {
    Q_OBJECT
public:
    FeedServer(Frontier& frontier, QObject* parent = nullptr);

    bool Listen(quint16 port);
    quint16 Port() const { return m_server.serverPort(); }
    void SetFault(int server, Fault fault) { m_faults[server] = fault; }

private:
    void OnConnection();
    void OnReadable(QTcpSocket* socket);
    void Respond(QTcpSocket* socket, const QByteArray& head);
    void ServeFeed(QTcpSocket* socket, int server);
    QByteArray Control(const QString& command, const QHash<QString, QString>& query, int& status);

    Frontier& m_frontier;
    QTcpServer m_server;
    QHash<int, Fault> m_faults;
    QByteArray m_lastRequest;
    int m_requests = 0;  // every request that was not a control request
};

}  // namespace feedsim
