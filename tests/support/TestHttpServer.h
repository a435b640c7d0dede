#pragma once

#include <QByteArray>
#include <QTcpServer>
#include <QTcpSocket>
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

    std::string Url(const std::string& path = "/doc") const;
    const QByteArray& LastRequest() const { return m_lastRequest; }
    int Requests() const { return m_requests; }

    static QByteArray Ok(const QByteArray& body);

private:
    QTcpServer m_server;
    void Serve();
    void Answer(QTcpSocket* socket);

    QByteArray m_response;
    QByteArray m_dripBody;
    int m_dripIntervalMs = 0;
    QByteArray m_lastRequest;
    int m_requests = 0;
};

}  // namespace testing_support
