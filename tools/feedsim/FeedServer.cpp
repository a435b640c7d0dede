#include "tools/feedsim/FeedServer.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

namespace feedsim {
namespace {

constexpr qsizetype kMaxRequestHead = 16 * 1024;

QByteArray reply(int status, const QByteArray& reason, const QByteArray& body, const QByteArray& type,
                 qint64 declaredLength = -1) {
    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + " " + reason + "\r\n";
    out += "Content-Type: " + type + "\r\n";
    out += "Content-Length: " + QByteArray::number(declaredLength < 0 ? body.size() : declaredLength) + "\r\n";
    out += "Connection: close\r\n\r\n";
    return out + body;
}

void closeWhenWritten(QTcpSocket* socket) {
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [socket] {
        if (socket->bytesToWrite() == 0) socket->disconnectFromHost();
    });
}

}  // namespace

bool parseFault(const QString& name, Fault& fault) {
    static const QHash<QString, Fault> kNames = {
        {"none", Fault::None},       {"404", Fault::NotFound}, {"500", Fault::ServerError},
        {"refuse", Fault::Refuse},   {"stall", Fault::Stall},  {"trickle", Fault::Trickle},
        {"cut", Fault::Cut},         {"huge", Fault::Huge},    {"malformed", Fault::Malformed},
        {"503", Fault::Unavailable}, {"empty", Fault::Empty}};
    const auto it = kNames.find(name);
    if (it == kNames.end()) return false;
    fault = *it;
    return true;
}

FeedServer::FeedServer(Frontier& frontier, QObject* parent) : QObject(parent), m_frontier(frontier) {
    connect(&m_server, &QTcpServer::newConnection, this, &FeedServer::onConnection);
}

bool FeedServer::listen(quint16 port) {
    return m_server.listen(QHostAddress::LocalHost, port);
}

void FeedServer::onConnection() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadable(socket); });
    }
}

void FeedServer::onReadable(QTcpSocket* socket) {
    if (socket->property("answered").toBool()) {
        socket->readAll();
        return;
    }
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0) {
        if (buffer.size() > kMaxRequestHead)
            socket->abort();
        else
            socket->setProperty("buffer", buffer);
        return;
    }
    socket->setProperty("answered", true);
    respond(socket, buffer.left(end));
}

void FeedServer::respond(QTcpSocket* socket, const QByteArray& head) {
    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    if (requestLine.size() != 3 || requestLine[0] != "GET") {
        socket->write(reply(405, "Method Not Allowed", "", "text/plain"));
        closeWhenWritten(socket);
        return;
    }
    const QUrl url(QString::fromLatin1(requestLine[1]));
    const QStringList parts = url.path().split('/', Qt::SkipEmptyParts);

    if (parts.size() == 2 && parts[0] == "control") {
        QHash<QString, QString> query;
        for (const auto& [key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) query.insert(key, value);
        int status = 200;
        const QByteArray body = control(parts[1], query, status);
        socket->write(reply(status, status == 200 ? "OK" : "Bad Request", body, "text/plain; charset=ISO-8859-1"));
        closeWhenWritten(socket);
        return;
    }

    m_lastRequest = head;
    ++m_requests;
    const int server = parts.size() == 5 && parts[0] == "herald" && parts[1] == "servers" && parts[3] == "keeps" &&
                               parts[4] == "keeps.xml"
                           ? Frontier::serverIndex(parts[2].toStdString())
                           : -1;
    if (server < 0) {
        socket->write(reply(404, "Not Found", "<html><body>Not found</body></html>", "text/html"));
        closeWhenWritten(socket);
        return;
    }
    serveFeed(socket, server);
}

void FeedServer::serveFeed(QTcpSocket* socket, int server) {
    const std::string xml = m_frontier.feedXml(server);
    const QByteArray feed(xml.data(), static_cast<qsizetype>(xml.size()));
    const QByteArray type = "text/xml; charset=ISO-8859-1";
    switch (m_faults.value(server, Fault::None)) {
        case Fault::None:
            socket->write(reply(200, "OK", feed, type));
            break;
        case Fault::NotFound:
            socket->write(reply(404, "Not Found", "<html><body><h1>404 Not Found</h1></body></html>", "text/html"));
            break;
        case Fault::ServerError:
            socket->write(reply(500, "Internal Server Error", "<html><body>Oops</body></html>", "text/html"));
            break;
        case Fault::Unavailable:
            socket->write(reply(503, "Service Unavailable", "<html><body>Wartungsarbeiten</body></html>", "text/html"));
            break;
        case Fault::Empty:
            socket->write(reply(200, "OK", "", type));
            break;
        case Fault::Refuse:
            socket->abort();
            return;
        case Fault::Stall:
            return;  // accepted, never answered
        case Fault::Trickle: {
            socket->write(reply(200, "OK", "", type, feed.size()));
            auto* timer = new QTimer(socket);
            auto sent = std::make_shared<qsizetype>(0);
            connect(timer, &QTimer::timeout, socket, [socket, feed, sent] {
                if (*sent < feed.size()) socket->write(feed.mid((*sent)++, 1));
            });
            timer->start(1000);
            return;
        }
        case Fault::Cut:
            socket->write(reply(200, "OK", feed.left(feed.size() / 2), type, feed.size()));
            break;
        case Fault::Huge: {
            QByteArray body = feed;
            body.insert(body.indexOf("</keeps>"), QByteArray(9 << 20, ' '));
            socket->write(reply(200, "OK", body, type));
            break;
        }
        case Fault::Malformed:
            socket->write(reply(200, "OK", feed.left(feed.size() / 3) + "<<>>", type));
            break;
    }
    closeWhenWritten(socket);
}

QByteArray FeedServer::control(const QString& command, const QHash<QString, QString>& query, int& status) {
    const int server = Frontier::serverIndex(query.value("server").toStdString());
    if (command == "advance") {
        const int steps = query.value("steps", "1").toInt();
        for (int i = 0; i < steps; ++i) m_frontier.advance();
        return "steps " + QByteArray::number(m_frontier.steps()) + "\n";
    }
    if (command == "set" && server >= 0) {
        bool ok = false;
        const int id = query.value("id").toInt(&ok);
        if (ok && id >= 0 && id < Frontier::kEntries) {
            Holding& h = m_frontier.at(server, id);
            if (query.contains("realm")) h.realm = query.value("realm").toStdString();
            if (query.contains("guild")) h.guild = query.value("guild").toLatin1().toStdString();
            return "ok\n";
        }
    }
    if (command == "fault" && server >= 0) {
        Fault fault;
        if (parseFault(query.value("kind"), fault)) {
            setFault(server, fault);
            return "ok\n";
        }
    }
    if (command == "last-request") return m_lastRequest + "\r\n";
    if (command == "requests") return QByteArray::number(m_requests) + "\n";
    status = 400;
    return "bad control request\n";
}

}  // namespace feedsim
