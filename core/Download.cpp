#include "core/Download.h"

#include <curl/curl.h>

#include <QCoreApplication>
#include <memory>

#include "core/FeedConfig.h"
#include "platform/Dialogs.h"

namespace core {
namespace {

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

void ReportFailure(platform::Dialogs& dialogs) {
    dialogs.Show({"fehler im inet", platform::kApplicationTitle, platform::Message::Icon::Critical});
}

// Runs the transfer to its end, letting the UI handle its events between reads.
CURLcode Run(CURLM* multi, CURL* easy) {
    curl_multi_add_handle(multi, easy);
    int running = 1;
    CURLcode result = CURLE_OK;
    while (running) {
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        if (running) curl_multi_poll(multi, nullptr, 0, 20, nullptr);
        QCoreApplication::processEvents();
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy) result = message->data.result;
    }
    curl_multi_remove_handle(multi, easy);
    return result;
}

}  // namespace

std::string DownloadUrl(const std::string& url, int accessType, platform::Dialogs& dialogs,
                        const DownloadLimits& limits) {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    std::unique_ptr<CURL, EasyDeleter> easy(initialised ? curl_easy_init() : nullptr);
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!easy || !multi) {
        ReportFailure(dialogs);
        return {};
    }

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
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeout.count()));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.totalTimeout.count()));
    // Less than one byte per stall period counts as stalled.
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME,
                     static_cast<long>(std::max<long long>(1, limits.stallTimeout.count() / 1000)));
    curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBodyBytes));
    curl_easy_setopt(h, CURLOPT_BUFFERSIZE, 2048L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
    if (accessType == kAccessDirect) curl_easy_setopt(h, CURLOPT_PROXY, "");

    const CURLcode result = Run(multi.get(), h);
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    if (result != CURLE_OK || transfer.tooLarge || status < 200 || status > 299) {
        ReportFailure(dialogs);
        return {};
    }
    return std::move(transfer.body);
}

}  // namespace core
