#include "core/Download.h"

#include <curl/curl.h>

#include <QCoreApplication>
#include <memory>

#include "core/FeedConfig.h"
#include "platform/Dialogs.h"

namespace core {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

struct Transfer {
    std::string body;
    std::size_t limit = 0;
    bool tooLarge = false;
};

size_t Collect(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    if (transfer->body.size() + bytes > transfer->limit) {
        transfer->tooLarge = true;
        return 0;  // makes curl abort the transfer
    }
    transfer->body.append(data, bytes);
    return bytes;
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// Everything the server has sent so far, head and body.
curl_off_t BytesReceived(CURL* easy) {
    curl_off_t body = 0;
    long head = 0;
    curl_easy_getinfo(easy, CURLINFO_SIZE_DOWNLOAD_T, &body);
    curl_easy_getinfo(easy, CURLINFO_HEADER_SIZE, &head);
    return body + head;
}

enum class RunEnd { Finished, NothingInTime, Stalled, TooLong };

struct RunOutcome {
    RunEnd end = RunEnd::Finished;
    CURLcode result = CURLE_OK;
    bool answered = false;  // at least one byte of an HTTP answer arrived
};

// Runs the transfer to its end, letting the UI handle its events between reads. The limits are
// checked against server time: wall time less the time spent in event handling, so a modal box
// opened from those events never fails a transfer that the server completed meanwhile.
RunOutcome Run(CURLM* multi, CURL* easy, const DownloadLimits& limits) {
    curl_multi_add_handle(multi, easy);
    milliseconds serverTime{0};
    milliseconds lastByteAt{0};
    curl_off_t received = 0;
    int running = 1;
    RunEnd end = RunEnd::Finished;
    CURLcode result = CURLE_OK;
    while (running) {
        const Clock::time_point start = Clock::now();
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        if (running) curl_multi_poll(multi, nullptr, 0, 20, nullptr);
        serverTime += std::chrono::duration_cast<milliseconds>(Clock::now() - start);

        if (const curl_off_t now = BytesReceived(easy); now != received) {
            received = now;
            lastByteAt = serverTime;
        }
        if (running) {
            if (received == 0 && serverTime >= limits.connectTimeout)
                end = RunEnd::NothingInTime;
            else if (received > 0 && serverTime - lastByteAt >= limits.stallTimeout)
                end = RunEnd::Stalled;
            else if (serverTime >= limits.totalTimeout)
                end = RunEnd::TooLong;
            if (end != RunEnd::Finished) break;
        }
        QCoreApplication::processEvents();
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy) result = message->data.result;
    }
    curl_multi_remove_handle(multi, easy);
    return {end, result, BytesReceived(easy) > 0};
}

DownloadResult Failed(platform::Dialogs& dialogs, DownloadResult::Status status) {
    ReportDownloadFailure(dialogs);
    return {status, {}};
}

}  // namespace

DownloadResult DownloadUrl(const std::string& url, int accessType, platform::Dialogs& dialogs,
                           const DownloadLimits& limits) {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    std::unique_ptr<CURL, EasyDeleter> easy(initialised ? curl_easy_init() : nullptr);
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!easy || !multi) return Failed(dialogs, DownloadResult::Status::NoConnection);

    Transfer transfer;
    transfer.limit = limits.maxBodyBytes;
    const std::string agent = UserAgent();
    std::unique_ptr<curl_slist, ListDeleter> headers(curl_slist_append(nullptr, "Cache-Control: no-cache"));
    headers.reset(curl_slist_append(headers.release(), "Pragma: no-cache"));

    CURL* h = easy.get();
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_USERAGENT, agent.c_str());
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, limits.maxRedirects);
    // The time limits are ours (see Run): curl's own would count time spent in our event handling.
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, 0L);
    curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBodyBytes));
    curl_easy_setopt(h, CURLOPT_BUFFERSIZE, 2048L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
    if (accessType == kAccessDirect) curl_easy_setopt(h, CURLOPT_PROXY, "");

    const RunOutcome run = Run(multi.get(), h, limits);
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);

    const bool failed = run.end != RunEnd::Finished || run.result != CURLE_OK || transfer.tooLarge;
    // Not one byte of an answer: the server could not be reached. Anything after that is a bad answer.
    if (failed && !run.answered) return Failed(dialogs, DownloadResult::Status::NoConnection);
    if (failed || status < 200 || status > 299) {
        return Failed(dialogs, DownloadResult::Status::BadResponse);
    }
    return {DownloadResult::Status::Ok, std::move(transfer.body)};
}

}  // namespace core
