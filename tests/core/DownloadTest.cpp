#include <gtest/gtest.h>

#include "core/Download.h"
#include "core/FeedConfig.h"
#include "tests/support/FeedSimProcess.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/TestHttpServer.h"

namespace {

using testing_support::RecordingDialogs;
using testing_support::TestHttpServer;

core::DownloadLimits ShortLimits() {
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
        TestHttpServer server(TestHttpServer::Ok(body));
        RecordingDialogs dialogs;
        EXPECT_EQ(core::DownloadUrl(server.Url(), core::kAccessDirect, dialogs), body.toStdString()) << size;
        EXPECT_TRUE(dialogs.shown.empty());
    }
}

TEST(DownloadUrl, KeepsBytesUnchanged) {
    const QByteArray body("caf\xe9 \x00\xff end", 11);
    TestHttpServer server(TestHttpServer::Ok(body));
    RecordingDialogs dialogs;
    EXPECT_EQ(core::DownloadUrl(server.Url(), core::kAccessDirect, dialogs), body.toStdString());
}

TEST(DownloadUrl, EmptyBodyIsEmptyWithoutAMessage) {
    TestHttpServer server(TestHttpServer::Ok(""));
    RecordingDialogs dialogs;
    EXPECT_EQ(core::DownloadUrl(server.Url(), core::kAccessDirect, dialogs), "");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST(DownloadUrl, SendsAgentAndBypassesCaches) {
    testing_support::FeedSimProcess sim;
    ASSERT_TRUE(sim.Running());
    RecordingDialogs dialogs;
    EXPECT_FALSE(core::DownloadUrl(core::FeedUrl(sim.Base(), "Logres"), core::kAccessDirect, dialogs).empty());
    const std::string request = sim.Control("last-request");
    EXPECT_EQ(request.rfind("GET /herald/servers/Logres/keeps/keeps.xml HTTP/1.1\r\n", 0), 0u) << request;
    EXPECT_NE(request.find("\r\nUser-Agent: Varnolux/Warmap:1.0.0\r\n"), std::string::npos) << request;
    EXPECT_NE(request.find("\r\nCache-Control: no-cache\r\n"), std::string::npos);
    EXPECT_NE(request.find("\r\nPragma: no-cache"), std::string::npos);
    EXPECT_EQ(core::UserAgent(), "Varnolux/Warmap:1.0.0");
}

TEST(DownloadUrl, FailuresShowOneBoxAndReturnNothing) {
    struct Case {
        const char* what;
        QByteArray response;
    };
    const Case cases[] = {
        {"404", "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found"},
        {"short body", "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly this"},
        {"redirect loop", "HTTP/1.1 302 Found\r\nLocation: /doc\r\nContent-Length: 0\r\n\r\n"},
        {"redirect to file", "HTTP/1.1 302 Found\r\nLocation: file:///etc/hostname\r\nContent-Length: 0\r\n\r\n"},
        {"too large", TestHttpServer::Ok(QByteArray(64 * 1024, 'x'))},
    };
    for (const Case& c : cases) {
        TestHttpServer server(c.response);
        RecordingDialogs dialogs;
        core::DownloadLimits limits = ShortLimits();
        limits.maxBodyBytes = 32 * 1024;
        EXPECT_EQ(core::DownloadUrl(server.Url(), core::kAccessDirect, dialogs, limits), "") << c.what;
        ASSERT_EQ(dialogs.shown.size(), 1u) << c.what;
        EXPECT_EQ(dialogs.shown[0].text, "fehler im inet");
        EXPECT_EQ(dialogs.shown[0].icon, platform::Message::Icon::Critical);
        EXPECT_LE(server.Requests(), 4) << c.what;  // at most three redirects followed
    }
}

TEST(DownloadUrl, RejectsOtherSchemesAndUnreachableHosts) {
    for (const char* url : {"file:///etc/hostname", "ftp://127.0.0.1/x", "http://127.0.0.1:1/closed"}) {
        RecordingDialogs dialogs;
        EXPECT_EQ(core::DownloadUrl(url, core::kAccessDirect, dialogs, ShortLimits()), "") << url;
        EXPECT_EQ(dialogs.Count("fehler im inet"), 1) << url;
    }
}

TEST(DownloadUrl, DefaultLimitsAreTheDocumentedOnes) {
    const core::DownloadLimits limits;
    EXPECT_EQ(limits.connectTimeout.count(), 60000);
    EXPECT_EQ(limits.stallTimeout.count(), 60000);
    EXPECT_EQ(limits.totalTimeout.count(), 120000);
    EXPECT_EQ(limits.maxBodyBytes, 8u * 1024 * 1024);
    EXPECT_EQ(limits.maxRedirects, 3);
}

}  // namespace

namespace {

TEST(FeedConfig, EnvironmentOverridesTheBuiltInFeedHost) {
    const QByteArray previous = qgetenv("WARMAP_FEED_BASE");
    qputenv("WARMAP_FEED_BASE", "https://mirror.example:8443/");
    EXPECT_EQ(core::FeedBase(), "https://mirror.example:8443");
    EXPECT_EQ(core::FeedUrl(core::FeedBase(), "Avalon"),
              "https://mirror.example:8443/herald/servers/Avalon/keeps/keeps.xml");
    qunsetenv("WARMAP_FEED_BASE");
    EXPECT_EQ(core::FeedBase(), "http://127.0.0.1:8642");  // the simulator, unless the build says otherwise
    if (!previous.isEmpty()) qputenv("WARMAP_FEED_BASE", previous);
}

}  // namespace
