#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <memory>

#include <zlib.h>

#include "core/BuildInfo.h"
#include "core/Download.h"
#include "core/FeedCheck.h"
#include "core/FeedConfig.h"
#include "tests/support/EnvScope.h"
#include "tests/support/FeedSimProcess.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TestHttpServer.h"

namespace {

using core::DownloadResult;
using testing_support::TestHttpServer;

std::string downloadedBody(const std::string& url, const core::DownloadLimits& limits = {}) {
    const DownloadResult result = core::downloadUrl(url, limits);
    EXPECT_EQ(result.status, DownloadResult::Status::Ok) << url;
    return result.body;
}

core::DownloadLimits shortLimits() {
    core::DownloadLimits limits;
    limits.connectTimeout = std::chrono::milliseconds(2000);
    limits.stallTimeout = std::chrono::milliseconds(1000);
    limits.totalTimeout = std::chrono::milliseconds(3000);
    return limits;
}

TEST(DownloadUrl, ReturnsBodiesWholeAcrossReadSizes) {
    for (int size : {2048, 5000}) {
        QByteArray body(size, 'a');
        for (int i = 0; i < size; ++i) body[i] = static_cast<char>('a' + i % 26);
        TestHttpServer server(TestHttpServer::ok(body));
        EXPECT_EQ(downloadedBody(server.url()), body.toStdString()) << size;
    }
}

TEST(DownloadUrl, KeepsBytesUnchanged) {
    const QByteArray body("caf\xe9 \x00\xff end", 11);
    TestHttpServer server(TestHttpServer::ok(body));
    EXPECT_EQ(downloadedBody(server.url()), body.toStdString());
}

TEST(DownloadUrl, EmptyBodyIsEmptyWithoutAMessage) {
    TestHttpServer server(TestHttpServer::ok(""));
    EXPECT_EQ(downloadedBody(server.url()), "");
}

TEST(DownloadUrl, SendsAgentAndBypassesCaches) {
    testing_support::FeedSimProcess sim;
    ASSERT_TRUE(sim.isRunning());
    EXPECT_FALSE(downloadedBody(core::feedUrl(sim.base(), "Logres")).empty());
    const std::string request = sim.control("last-request");
    EXPECT_EQ(request.rfind("GET /herald/servers/Logres/keeps/keeps.xml HTTP/1.1\r\n", 0), 0u) << request;
    EXPECT_NE(request.find("\r\nUser-Agent: Varnolux/Warmap:1.0.0\r\n"), std::string::npos) << request;
    EXPECT_NE(request.find("\r\nCache-Control: no-cache\r\n"), std::string::npos);
    EXPECT_NE(request.find("\r\nPragma: no-cache"), std::string::npos);
    EXPECT_EQ(core::userAgent(), "Varnolux/Warmap:1.0.0");
}

// The server answered, but not with a whole 2xx body: the caller skips this server only.
TEST(DownloadUrl, BadAnswersReturnNothing) {
    struct Case {
        const char* what;
        QByteArray response;
    };
    const Case cases[] = {
        {"404", "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found"},
        {"short body", "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly this"},
        {"redirect loop", "HTTP/1.1 302 Found\r\nLocation: /doc\r\nContent-Length: 0\r\n\r\n"},
        {"redirect to file", "HTTP/1.1 302 Found\r\nLocation: file:///etc/hostname\r\nContent-Length: 0\r\n\r\n"},
        {"too large", TestHttpServer::ok(QByteArray(64 * 1024, 'x'))},
        {"too large, no length given", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + QByteArray(64 * 1024, 'x')},
        {"500", "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 4\r\n\r\noops"},
    };
    for (const Case& c : cases) {
        TestHttpServer server(c.response);
        core::DownloadLimits limits = shortLimits();
        limits.maxBodyBytes = 32 * 1024;
        const DownloadResult result = core::downloadUrl(server.url(), limits);
        EXPECT_EQ(result.status, DownloadResult::Status::BadResponse) << c.what;
        EXPECT_EQ(result.body, "") << c.what;
        EXPECT_LE(server.requests(), 4) << c.what;  // at most three redirects followed
    }
}

// Over https a redirect may lead only to https: a plain-http target would carry the request in clear.
TEST(DownloadUrl, FollowsRedirectsFromHttpsOnlyToHttps) {
    testing_support::EnvScope env;
    env.set("SSL_CERT_FILE", TestHttpServer::tlsCertificateFile());
    const QByteArray feed("<keeps/>");
    TestHttpServer plain(TestHttpServer::ok(feed));
    const auto secure = TestHttpServer::tls(TestHttpServer::ok(feed));
    struct Case {
        const char* what;
        std::string target;
        DownloadResult::Status status;
    };
    const Case cases[] = {
        {"to https", secure->url(), DownloadResult::Status::Ok},
        {"to http", plain.url(), DownloadResult::Status::BadResponse},
    };
    for (const Case& c : cases) {
        const auto redirect = TestHttpServer::tls(
            "HTTP/1.1 302 Found\r\nLocation: " + QByteArray::fromStdString(c.target) + "\r\nContent-Length: 0\r\n\r\n");
        const DownloadResult result = core::downloadUrl(redirect->url(), shortLimits());
        EXPECT_EQ(result.status, c.status) << c.what;
        EXPECT_EQ(redirect->requests(), 1) << c.what;
    }
    EXPECT_EQ(secure->requests(), 1);
    EXPECT_EQ(plain.requests(), 0);
}

// The server asked answered, with a redirect: whatever becomes of its target, that server is skipped,
// and the log names the target that failed, the address asked, and libcurl's own message.
TEST(DownloadUrl, ARedirectToAnUnreachableTargetIsABadAnswerNamingIt) {
    testing_support::EnvScope env;
    env.set("SSL_CERT_FILE", TestHttpServer::tlsCertificateFile());
    const auto untrusted = TestHttpServer::tls(TestHttpServer::ok("<keeps/>"));
    const struct {
        std::string target;
        bool trustTest;  // trust the test's own authority
        const char* message;
    } cases[] = {
        {"http://127.0.0.1:1/feed", true, "Couldn't connect to server"},
        {"http://no-such-host.invalid/feed", true, "Could not resolve host: no-such-host.invalid"},
        {untrusted->url(), false, "SSL certificate problem"},
    };
    for (const auto& c : cases) {
        env.set("SSL_CERT_FILE",
                c.trustTest ? TestHttpServer::tlsCertificateFile() : QByteArray(WARMAP_TEST_DATA_DIR "/tls/ca.pem"));
        TestHttpServer origin("HTTP/1.1 301 Moved Permanently\r\nLocation: " + QByteArray::fromStdString(c.target) +
                              "\r\nContent-Length: 0\r\n\r\n");
        const std::string asked = origin.url();
        const std::string withUser = "http://warden:s3cret@" + asked.substr(7);
        testing_support::LogRecorder log;
        const DownloadResult result = core::downloadUrl(withUser, shortLimits());
        EXPECT_EQ(result.status, DownloadResult::Status::BadResponse) << c.target;
        const QString said =
            QString::fromStdString("bad answer from " + c.target + " (redirected from " + asked + "): ");
        EXPECT_EQ(log.matching("warmap.download", {said, c.message}).size(), 1) << log.lines().join('\n').toStdString();
        EXPECT_FALSE(log.lines().join('\n').contains("s3cret"));
    }
}

// No answer at all: the caller ends its pass.
TEST(DownloadUrl, RejectsOtherSchemesAndUnreachableHosts) {
    for (const char* url :
         {"file:///etc/hostname", "ftp://127.0.0.1/x", "http://127.0.0.1:1/closed", "http://no-such-host.invalid/x"}) {
        const DownloadResult result = core::downloadUrl(url, shortLimits());
        EXPECT_EQ(result.status, DownloadResult::Status::NoConnection) << url;
        EXPECT_EQ(result.body, "") << url;
    }
}

TEST(DownloadUrl, ASilentServerIsNoConnectionAndAStalledOneABadAnswer) {
    testing_support::FeedSimProcess sim;
    ASSERT_TRUE(sim.isRunning());
    ASSERT_EQ(sim.control("fault?server=Avalon&kind=stall"), "ok\n");
    EXPECT_EQ(core::downloadUrl(core::feedUrl(sim.base(), "Avalon"), shortLimits()).status,
              DownloadResult::Status::NoConnection);
    // Head sent, then nothing more: the server answered and then stalled.
    TestHttpServer stalled("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nabc", QByteArray(97, 'x'), 60'000);
    EXPECT_EQ(core::downloadUrl(stalled.url(), shortLimits()).status, DownloadResult::Status::BadResponse);
}

// Any byte from the server is an answer, parsed or not: garbage, an HTTP/0.9 body or a status line
// still on its way is a bad answer (that server is skipped), never "no answer" (which ends the pass);
// and a whole answer trickled a byte at a time, head included, arrives.
TEST(DownloadUrl, AnyByteFromTheServerIsAnAnswer) {
    const QByteArray slowStatus = "HTTP/1.1 200 OK, and it takes its time to say so\r\n";
    const struct {
        const char* what;
        QByteArray head, dripped;
        int intervalMs;
        DownloadResult::Status status;
    } cases[] = {
        {"garbage", "garbage\r\n\r\n", "", 0, DownloadResult::Status::BadResponse},
        {"HTTP/0.9 body", "<keeps date=\"x\"/>", "", 0, DownloadResult::Status::BadResponse},
        {"status line still arriving at the end", "", slowStatus, 150, DownloadResult::Status::BadResponse},
        {"whole answer trickled", "", slowStatus + "Content-Length: 2\r\n\r\nok", 30, DownloadResult::Status::Ok},
    };
    for (const auto& c : cases) {
        std::unique_ptr<TestHttpServer> server =
            c.intervalMs == 0 ? std::make_unique<TestHttpServer>(c.head)
                              : std::make_unique<TestHttpServer>(c.head, c.dripped, c.intervalMs);
        core::DownloadLimits limits = shortLimits();
        limits.connectTimeout = std::chrono::milliseconds(1000);  // less than the status lines take
        const DownloadResult result = core::downloadUrl(server->url(), limits);
        EXPECT_EQ(result.status, c.status) << c.what;
    }
}

// Each failure leaves one line in the log saying where and why, in the category users can turn up or
// down.
TEST(DownloadUrl, EveryFailureIsLoggedWithItsAddressAndCause) {
    TestHttpServer notFound("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found");
    TestHttpServer huge(TestHttpServer::ok(QByteArray(64 * 1024, 'x')));
    TestHttpServer silent("", "", 60'000);
    const std::string silentPort = silent.url().substr(17, silent.url().find('/', 17) - 17);
    core::DownloadLimits limits = shortLimits();
    limits.maxBodyBytes = 32 * 1024;
    limits.connectTimeout = std::chrono::milliseconds(500);
    // The log says it in English for bug reports, the tray in German for the player.
    const struct {
        std::string url;
        QStringList says;
        std::string problem;
    } cases[] = {
        {notFound.url("/herald/servers/Avalon/keeps/keeps.xml"),
         {"bad answer from", "Avalon", "HTTP status 404"},
         "HTTP-Status 404"},
        {"http://127.0.0.1:1/herald/servers/Logres/keeps/keeps.xml",
         {"no answer from", "Logres", "connect"},
         "Verbindung abgelehnt (127.0.0.1:1)"},
        {"http://no-such-host.invalid/x",
         {"no answer from", "resolve"},
         "Rechner nicht gefunden (no-such-host.invalid:80)"},
        {huge.url(), {"bad answer from", "more than 32768 bytes"}, "Antwort gr\u00f6\u00dfer als 32 KiB"},
        {silent.url(),
         {"no answer from", "not one byte within 500 ms"},
         "keine Antwort binnen 1 s (127.0.0.1:" + silentPort + ")"},
    };
    for (const auto& c : cases) {
        testing_support::LogRecorder log;
        const DownloadResult result = core::downloadUrl(c.url, limits);
        EXPECT_EQ(log.matching("warmap.download", c.says).size(), 1) << log.lines().join('\n').toStdString();
        EXPECT_EQ(log.lines().size(), 1);
        EXPECT_EQ(result.problem, c.problem) << c.url;
    }
}

// A byte every 0.6 s never leaves the line quiet for the 1 s stall limit, though it is far below one
// byte a second on average over some windows; it must complete.
TEST(DownloadUrl, ASlowButMovingTransferCompletes) {
    const QByteArray body = "<keeps/>";
    TestHttpServer server("HTTP/1.1 200 OK\r\nContent-Length: 8\r\nConnection: close\r\n\r\n", body, 600);
    core::DownloadLimits limits = shortLimits();
    limits.stallTimeout = std::chrono::milliseconds(1000);
    limits.totalTimeout = std::chrono::milliseconds(20'000);
    EXPECT_EQ(downloadedBody(server.url(), limits), body.toStdString());
}

// A modal box opened from the download's own event handling (a server chosen in the map window, say)
// is held open well past the total limit while the server sends everything. The time in the box is
// ours, not the server's: the transfer completes when the box closes.
TEST(DownloadUrl, TimeSpentInANestedBoxDoesNotCountAgainstTheServer) {
    const QByteArray body = "<keeps date=\"d\"/>";
    // The whole body arrives within about 1.2 s of the request, while the box is open.
    TestHttpServer server("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n", body,
                          60);
    const core::DownloadLimits limits = shortLimits();  // 2 s to connect, 1 s stall, 3 s in all
    bool boxShown = false;
    std::function<void()> openBoxOnceAsked = [&] {
        if (server.requests() == 0) {
            QTimer::singleShot(5, openBoxOnceAsked);
            return;
        }
        boxShown = true;
        QEventLoop box;  // what QMessageBox::exec runs
        QTimer::singleShot(4000, &box, &QEventLoop::quit);
        box.exec();
    };
    QTimer::singleShot(0, openBoxOnceAsked);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(downloadedBody(server.url(), limits), body.toStdString());
    EXPECT_TRUE(boxShown);
    EXPECT_GT(clock.elapsed(), limits.totalTimeout.count());  // the box outlasted the total limit
}

// The body deflated: windowBits 15 + 16 makes a gzip member, 15 a zlib stream (HTTP's "deflate").
QByteArray compressed(const QByteArray& plain, int windowBits = 15 + 16) {
    z_stream z{};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 9, Z_DEFAULT_STRATEGY);
    QByteArray out(static_cast<qsizetype>(deflateBound(&z, static_cast<uLong>(plain.size()))), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.constData()));
    z.avail_in = static_cast<uInt>(plain.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(static_cast<qsizetype>(z.total_out));
    deflateEnd(&z);
    return out;
}

QByteArray coded(const QByteArray& coding, const QByteArray& body) {
    return "HTTP/1.1 200 OK\r\nContent-Encoding: " + coding + "\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\n\r\n" + body;
}

// Every coding libcurl can undo is asked for, and undone whether asked for or not; what cannot be
// undone, or undoes into more than the limit, is a bad answer from that server, named in the log.
TEST(DownloadUrl, ContentCodingsAreUndoneWithinTheLimit) {
    const QByteArray feed = "<keeps date=\"09.12.2026 16:20:00\">" + QByteArray(3000, ' ') + "</keeps>";
    const QByteArray gzip = compressed(feed);
    // 64 MiB of nothing in 64 KiB, deflated once more: a bomb of a few hundred bytes.
    const QByteArray bomb = compressed(compressed(QByteArray(64 << 20, ' ')));
    const struct {
        const char* what;
        QByteArray response;
        const char* logged;  // empty: the feed arrives whole
    } cases[] = {
        {"gzip", coded("gzip", gzip), ""},
        {"deflate", coded("deflate", compressed(feed, 15)), ""},
        {"deflate without its wrapper", coded("deflate", compressed(feed, -15)), ""},
        {"gzip twice, said so", coded("gzip, gzip", compressed(gzip)), ""},
        {"identity", coded("identity", feed), ""},
        {"cut short", coded("gzip", gzip.left(gzip.size() / 2)), "gzip stream cut short"},
        {"corrupt", coded("gzip", gzip.left(20) + QByteArray(200, 'x')), "cannot undo the gzip coding"},
        {"plain body said to be gzip", coded("gzip", feed), "cannot undo the gzip coding: incorrect header"},
        {"twice said, once done", coded("gzip, gzip", gzip), "cannot undo the gzip coding"},
        {"unknown coding", coded("x-squeeze", feed), "unknown content coding x-squeeze"},
        {"a thousand codings", coded(QByteArray("gzip, ").repeated(999) + "gzip", gzip), "1000 content codings"},
        {"bomb", coded("gzip, gzip", bomb), "more than 1048576 bytes once decoded"},
    };
    for (const auto& c : cases) {
        TestHttpServer server(c.response);
        testing_support::LogRecorder log;
        core::DownloadLimits limits = shortLimits();
        limits.maxDecodedBytes = 1 << 20;
        const DownloadResult result = core::downloadUrl(server.url(), limits);
        EXPECT_NE(server.lastRequest().indexOf("\r\nAccept-Encoding: "), -1) << c.what;
        EXPECT_NE(server.lastRequest().indexOf("gzip"), -1) << c.what;
        if (*c.logged == '\0') {
            EXPECT_EQ(result.status, DownloadResult::Status::Ok) << c.what;
            EXPECT_TRUE(result.body == feed.toStdString()) << c.what << ": " << result.body.size() << " bytes";
            EXPECT_TRUE(log.lines().isEmpty()) << c.what;
            continue;
        }
        EXPECT_EQ(result.status, DownloadResult::Status::BadResponse) << c.what;
        EXPECT_TRUE(result.body.empty()) << c.what;
        EXPECT_EQ(log.matching("warmap.download", {"bad answer from", c.logged}).size(), 1)
            << c.what << ": " << log.lines().join('\n').toStdString();
    }
}

TEST(DownloadUrl, DefaultLimitsAreTheDocumentedOnes) {
    const core::DownloadLimits limits;
    EXPECT_EQ(limits.connectTimeout.count(), 60000);
    EXPECT_EQ(limits.stallTimeout.count(), 60000);
    EXPECT_EQ(limits.totalTimeout.count(), 120000);
    EXPECT_EQ(limits.maxBodyBytes, 8u * 1024 * 1024);
    EXPECT_EQ(limits.maxDecodedBytes, 8u * 1024 * 1024);
    EXPECT_EQ(limits.maxRedirects, 3);
}

}  // namespace

namespace {

// "Prüfen" in the settings window: a feed, or why not.
TEST(CheckFeed, SaysWhetherTheAddressServesAFeed) {
    testing_support::FeedSimProcess sim;
    ASSERT_TRUE(sim.isRunning());
    TestHttpServer page(TestHttpServer::ok("<html><body>Willkommen</body></html>"));
    TestHttpServer missing("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
    const auto base = [](const std::string& url) { return url.substr(0, url.find('/', 7)); };
    struct Case {
        std::string feedBase;
        bool isFeed;
        const char* said;
    };
    const Case cases[] = {
        {sim.base(), true, "Feed erhalten: 105 Eintr\u00e4ge, Stand "},
        {base(page.url()), false, "liefert keinen Feed"},
        {base(missing.url()), false, "antwortet, aber"},
        {"http://127.0.0.1:1", false,
         "Keine Antwort von http://127.0.0.1:1/herald/servers/Dartmoor/keeps/keeps.xml: Verbindung abgelehnt"},
    };
    for (const Case& c : cases) {
        const core::FeedCheckResult result = core::checkFeed(c.feedBase, core::downloadUrl);
        EXPECT_EQ(result.isFeed, c.isFeed) << c.feedBase;
        EXPECT_NE(result.verdict.find(c.said), std::string::npos) << c.feedBase << ": " << result.verdict;
    }
}

}  // namespace
