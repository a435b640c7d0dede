#pragma once

#include <QByteArray>
#include <QHash>
#include <QTcpServer>

#include "tools/feedsim/Frontier.h"

class QTcpSocket;

namespace feedsim {

// How a server's feed misbehaves on request.
enum class Fault { None, NotFound, ServerError, Unavailable, Refuse, Stall, Trickle, Cut, Huge, Malformed, Empty };

bool parseFault(const QString& name, Fault& fault);

// Serves GET /herald/servers/<Server>/keeps/keeps.xml and a small control API under /control/:
//   advance?steps=N, set?server=S&id=I&realm=R[&guild=G], fault?server=S&kind=K, last-request.
// Listens on 127.0.0.1 only.
class FeedServer : public QObject {
    Q_OBJECT
public:
    FeedServer(Frontier& frontier, QObject* parent = nullptr);

    bool listen(quint16 port);
    quint16 port() const { return m_server.serverPort(); }
    void setFault(int server, Fault fault) { m_faults[server] = fault; }

private:
    void onConnection();
    void onReadable(QTcpSocket* socket);
    void respond(QTcpSocket* socket, const QByteArray& head);
    void serveFeed(QTcpSocket* socket, int server);
    QByteArray control(const QString& command, const QHash<QString, QString>& query, int& status);

    Frontier& m_frontier;
    QTcpServer m_server;
    QHash<int, Fault> m_faults;
    QByteArray m_lastRequest;
    int m_requests = 0;  // every request that was not a control request
};

}  // namespace feedsim
