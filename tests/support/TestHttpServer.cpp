#include "tests/support/TestHttpServer.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

namespace testing_support {

TestHttpServer::TestHttpServer(QByteArray rawResponse) : m_response(std::move(rawResponse)) {
    Serve();
}

TestHttpServer::TestHttpServer(QByteArray head, QByteArray body, int intervalMs)
    : m_response(std::move(head)), m_dripBody(std::move(body)), m_dripIntervalMs(intervalMs) {
    Serve();
}

void TestHttpServer::Serve() {
    m_server.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                QByteArray head = socket->property("head").toByteArray() + socket->readAll();
                socket->setProperty("head", head);
                if (!head.contains("\r\n\r\n") || socket->property("done").toBool()) return;
                socket->setProperty("done", true);
                m_lastRequest = head;
                ++m_requests;
                Answer(socket);
            });
        }
    });
}

void TestHttpServer::Answer(QTcpSocket* socket) {
    socket->write(m_response);
    if (m_dripIntervalMs == 0) {
        QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [socket] {
            if (socket->bytesToWrite() == 0) socket->disconnectFromHost();
        });
        return;
    }
    auto* timer = new QTimer(socket);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, socket, [this, socket, timer, sent = qsizetype(0)]() mutable {
        socket->write(m_dripBody.mid(sent++, 1));
        if (sent < m_dripBody.size()) return;
        timer->stop();
        socket->disconnectFromHost();
    });
    timer->start(m_dripIntervalMs);
}

std::string TestHttpServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_server.serverPort()) + path;
}

QByteArray TestHttpServer::Ok(const QByteArray& body) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" +
           body;
}

}  // namespace testing_support
