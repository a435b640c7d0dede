#pragma once

#include <QByteArray>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>
#include <string>

namespace testing_support {

// A one-answer HTTP server inside the test process. It works with DownloadUrl because the download
// lets pending events run between reads.
class TestHttpServer {
public:
    // rawResponse is sent as is (status line, headers and body) to every request.
    explicit TestHttpServer(QByteArray rawResponse);
    // Sends the head at once and then the body one byte every interval, like a slow but live server.
    TestHttpServer(QByteArray head, QByteArray body, int intervalMs);
    // Answers over TLS with the certificate TlsCertificateFile() for 127.0.0.1.
    static std::unique_ptr<TestHttpServer> Tls(QByteArray rawResponse);
    static QByteArray TlsCertificateFile();

    std::string Url(const std::string& path = "/doc") const;
    const QByteArray& LastRequest() const { return m_lastRequest; }
    int Requests() const { return m_requests; }

    static QByteArray Ok(const QByteArray& body);

private:
    TestHttpServer(std::unique_ptr<QTcpServer> server, QByteArray rawResponse);  // TLS
    std::unique_ptr<QTcpServer> m_server;
    void Serve();
    void Answer(QTcpSocket* socket);

    QByteArray m_response;
    QByteArray m_dripBody;
    int m_dripIntervalMs = 0;
    QByteArray m_lastRequest;
    int m_requests = 0;
    bool m_tls = false;
};

}  // namespace testing_support
