#pragma once

#include <QByteArray>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>
#include <string>

namespace testing_support {

// A one-answer HTTP server inside the test process. It works with downloadUrl because the download
// lets pending events run between reads.
class TestHttpServer {
public:
    // rawResponse is sent as is (status line, headers and body) to every request.
    explicit TestHttpServer(QByteArray rawResponse);
    // Sends the head at once and then the body one byte every interval, like a slow but live server.
    TestHttpServer(QByteArray head, QByteArray body, int intervalMs);
    // Answers over TLS with the certificate tlsCertificateFile() for 127.0.0.1.
    static std::unique_ptr<TestHttpServer> tls(QByteArray rawResponse);
    static QByteArray tlsCertificateFile();

    std::string url(const std::string& path = "/doc") const;
    const QByteArray& lastRequest() const { return m_lastRequest; }
    int requests() const { return m_requests; }

    static QByteArray ok(const QByteArray& body);

private:
    TestHttpServer(std::unique_ptr<QTcpServer> server, QByteArray rawResponse);  // TLS
    std::unique_ptr<QTcpServer> m_server;
    void serve();
    void answer(QTcpSocket* socket);

    QByteArray m_response;
    QByteArray m_dripBody;
    int m_dripIntervalMs = 0;
    QByteArray m_lastRequest;
    int m_requests = 0;
    bool m_tls = false;
};

}  // namespace testing_support
