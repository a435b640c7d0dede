#include <gtest/gtest.h>

#include <QFile>

#include "core/FetchHelper.h"
#include "core/FetchProtocol.h"
#include "platform/Paths.h"
#include "tests/support/TestHttpServer.h"

namespace {

using core::DownloadResult;
using Status = DownloadResult::Status;
using testing_support::TestHttpServer;

// Whatever the download came to crosses from the helper unchanged: any bytes in the body, a problem
// with line breaks, every status.
TEST(FetchProtocol, AnswersCrossWhole) {
    const DownloadResult cases[] = {
        {Status::Ok, std::string("caf\xe9 \0\xff\n12\nend", 14), {}},
        {Status::Ok, {}, {}},
        {Status::BadResponse, {}, "HTTP-Status 404\nzweite Zeile"},
        {Status::NoConnection, {}, "Verbindung abgelehnt (127.0.0.1:1)"},
    };
    for (const DownloadResult& sent : cases) {
        const auto got = core::decodeFetchAnswer(core::encodeFetchAnswer(sent));
        ASSERT_TRUE(got) << sent.problem;
        EXPECT_EQ(got->status, sent.status);
        EXPECT_EQ(got->body, sent.body);
        EXPECT_EQ(got->problem, sent.problem);
    }
}

// A helper that died halfway or something else on its output is no answer, never a short body.
TEST(FetchProtocol, RefusesWhatIsNoWholeAnswer) {
    const std::string whole = core::encodeFetchAnswer({Status::BadResponse, {}, "HTTP-Status 500"});
    const std::string cases[] = {
        "",
        "WARMAP-FETCH 2\n0\n0\n",
        "WARMAP-FETCH 1\n0\n",
        "WARMAP-FETCH 1\n3\n0\n",
        "WARMAP-FETCH 1\n-1\n0\n",
        "WARMAP-FETCH 1\n0\nx\n",
        "WARMAP-FETCH 1\n0\n5\nabc",
        whole.substr(0, whole.size() - 1),
    };
    for (const std::string& answer : cases) EXPECT_FALSE(core::decodeFetchAnswer(answer)) << answer;
}

TEST(FetchProtocol, RequestsCrossWholeAndOthersAreRefused) {
    core::FetchRequest sent{"http://user:pw@host:8/a b?c=d", {}};
    sent.limits.connectTimeout = std::chrono::milliseconds(1500);
    sent.limits.maxDecodedBytes = 123456789;
    sent.limits.maxRedirects = 0;
    const auto got = core::parseFetchArguments(core::fetchArguments(sent));
    ASSERT_TRUE(got);
    EXPECT_EQ(got->url, sent.url);
    EXPECT_EQ(got->limits.connectTimeout, sent.limits.connectTimeout);
    EXPECT_EQ(got->limits.stallTimeout, sent.limits.stallTimeout);
    EXPECT_EQ(got->limits.totalTimeout, sent.limits.totalTimeout);
    EXPECT_EQ(got->limits.maxBodyBytes, sent.limits.maxBodyBytes);
    EXPECT_EQ(got->limits.maxDecodedBytes, sent.limits.maxDecodedBytes);
    EXPECT_EQ(got->limits.maxRedirects, 0);

    QStringList arguments = core::fetchArguments(sent);
    for (const QString& bad : {QStringLiteral("-1"), QStringLiteral("1x"), QString()}) {
        QStringList changed = arguments;
        changed[3] = bad;
        EXPECT_FALSE(core::parseFetchArguments(changed)) << bad.toStdString();
    }
    arguments.removeLast();
    EXPECT_FALSE(core::parseFetchArguments(arguments));
}

// The real helper: a body of any bytes arrives as served, a failure with the program's words, in
// the language whose translation it was handed.
TEST(DownloadThroughHelper, BringsTheBodyOrTheProblemInTheProgramsLanguage) {
    const QByteArray body("caf\xe9 \x00\xff WARMAP-FETCH 1\n", 22);
    TestHttpServer server(TestHttpServer::ok(body));
    const DownloadResult fetched = core::downloadThroughHelper(server.url(), {});
    EXPECT_EQ(fetched.status, Status::Ok);
    EXPECT_EQ(fetched.body, body.toStdString());
    EXPECT_EQ(server.requests(), 1);

    core::DownloadLimits limits;
    limits.connectTimeout = std::chrono::milliseconds(2000);
    const DownloadResult german = core::downloadThroughHelper("http://127.0.0.1:1/", limits);
    EXPECT_EQ(german.status, Status::NoConnection);
    EXPECT_EQ(german.problem, "Verbindung abgelehnt (127.0.0.1:1)");

    QFile english(QString::fromStdString(platform::dataFolder()) + QStringLiteral("/translations/warmap_en.qm"));
    ASSERT_TRUE(english.open(QIODevice::ReadOnly)) << english.fileName().toStdString();
    const DownloadResult translated = core::downloadThroughHelper("http://127.0.0.1:1/", limits, english.readAll());
    EXPECT_EQ(translated.status, Status::NoConnection);
    EXPECT_EQ(translated.problem, "connection refused (127.0.0.1:1)");
}

}  // namespace
