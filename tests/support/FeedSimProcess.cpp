#include "tests/support/FeedSimProcess.h"

#include <curl/curl.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

namespace testing_support {
namespace {

size_t append(char* data, size_t size, size_t count, void* user) {
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

}  // namespace

FeedSimProcess::FeedSimProcess(QStringList extraArguments) {
    QTemporaryDir dir;
    const QString portFile = dir.filePath("port");
    m_process.setProgram(WARMAP_FEEDSIM);
    m_process.setArguments(QStringList{"--port", "0", "--port-file", portFile} + extraArguments);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
    if (!m_process.waitForStarted(5000)) return;
    for (int i = 0; i < 500 && m_port == 0; ++i) {
        QFile file(portFile);
        if (file.open(QIODevice::ReadOnly)) m_port = file.readAll().trimmed().toUInt();
        if (m_port == 0) QThread::msleep(10);
    }
}

FeedSimProcess::~FeedSimProcess() {
    m_process.kill();
    m_process.waitForFinished(5000);
}

std::string FeedSimProcess::control(const std::string& request) const {
    return httpGet(base() + "/control/" + request);
}

std::string FeedSimProcess::writtenFeed(const QStringList& arguments, const std::string& server) {
    QTemporaryDir dir;
    const QString file = dir.filePath("feed.xml");
    QProcess::execute(WARMAP_FEEDSIM, arguments + QStringList{"--write", QString::fromStdString(server), file});
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) return {};
    return in.readAll().toStdString();
}

std::string httpGet(const std::string& url) {
    std::string body;
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 10L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, append);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    const bool ok = curl_easy_perform(curl) == CURLE_OK;
    curl_easy_cleanup(curl);
    return ok ? body : std::string();
}

}  // namespace testing_support
