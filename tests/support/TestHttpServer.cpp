#include "tests/support/TestHttpServer.h"

#include <QFile>
#include <QHostAddress>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QTcpSocket>
#include <QTimer>

namespace testing_support {

TestHttpServer::TestHttpServer(QByteArray rawResponse)
    : m_server(std::make_unique<QTcpServer>()), m_response(std::move(rawResponse)) {
    serve();
}

TestHttpServer::TestHttpServer(QByteArray head, QByteArray body, int intervalMs)
    : m_server(std::make_unique<QTcpServer>()),
      m_response(std::move(head)),
      m_dripBody(std::move(body)),
      m_dripIntervalMs(intervalMs) {
    serve();
}

QByteArray TestHttpServer::tlsCertificateFile() {
    return WARMAP_TEST_DATA_DIR "/tls/cert.pem";
}

std::unique_ptr<TestHttpServer> TestHttpServer::tls(QByteArray rawResponse) {
    QFile key(WARMAP_TEST_DATA_DIR "/tls/key.pem");
    key.open(QIODevice::ReadOnly);
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.setLocalCertificateChain(QSslCertificate::fromPath(QString::fromLatin1(tlsCertificateFile())));
    config.setPrivateKey(QSslKey(&key, QSsl::Ec));
    config.setPeerVerifyMode(QSslSocket::VerifyNone);
    auto tls = std::make_unique<QSslServer>();
    tls->setSslConfiguration(config);
    return std::unique_ptr<TestHttpServer>(new TestHttpServer(std::move(tls), std::move(rawResponse)));
}

TestHttpServer::TestHttpServer(std::unique_ptr<QTcpServer> server, QByteArray rawResponse)
    : m_server(std::move(server)), m_response(std::move(rawResponse)), m_tls(true) {
    serve();
}

void TestHttpServer::serve() {
    m_server->listen(QHostAddress::LocalHost, 0);
    // A TLS connection is pending only once its handshake is done.
    QObject::connect(m_server.get(), &QTcpServer::pendingConnectionAvailable, m_server.get(), [this] {
        while (QTcpSocket* socket = m_server->nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                QByteArray head = socket->property("head").toByteArray() + socket->readAll();
                socket->setProperty("head", head);
                if (!head.contains("\r\n\r\n") || socket->property("done").toBool()) return;
                socket->setProperty("done", true);
                m_lastRequest = head;
                ++m_requests;
                answer(socket);
            });
        }
    });
}

void TestHttpServer::answer(QTcpSocket* socket) {
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

std::string TestHttpServer::url(const std::string& path) const {
    return (m_tls ? "https" : "http") + std::string("://127.0.0.1:") + std::to_string(m_server->serverPort()) + path;
}

QByteArray TestHttpServer::ok(const QByteArray& body) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" +
           body;
}

}  // namespace testing_support
