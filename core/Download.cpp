#include "core/Download.h"

#include <curl/curl.h>
#include <linux/tcp.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "base/Wording.h"
#include "core/BuildInfo.h"
#include "core/ContentDecoder.h"
#include "platform/AddressText.h"
#include "platform/Logging.h"

namespace core {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

struct Transfer {
    std::string body;
    std::size_t wireBytes = 0;
    std::size_t wireLimit = 0;
    std::size_t decodedLimit = 0;
    bool tooLarge = false;                  // on the wire
    std::vector<std::string> codings;       // of the answer whose headers came last (redirects have their own)
    std::optional<ContentDecoder> decoder;  // made at the body's first byte, when every header is in
};

// The codings are undone here, not by libcurl, which takes a gzip stream cut short for a whole one.
size_t collect(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    transfer->wireBytes += bytes;
    transfer->tooLarge = transfer->wireBytes > transfer->wireLimit;
    if (!transfer->decoder) transfer->decoder.emplace(transfer->codings, transfer->decodedLimit);
    if (transfer->tooLarge || !transfer->decoder->feed(std::string_view(data, bytes), transfer->body))
        return 0;  // makes curl abort the transfer
    return bytes;
}

size_t header(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const std::string_view line(data, size * count);
    constexpr std::string_view kName = "content-encoding:";
    if (line.rfind("HTTP/", 0) == 0) transfer->codings.clear();  // a new answer (after a redirect, say)
    if (line.size() > kName.size() &&
        QByteArray::fromRawData(line.data(), static_cast<qsizetype>(kName.size())).toLower() == kName.data())
        ContentDecoder::addCodings(line.substr(kName.size()), transfer->codings);
    return size * count;
}

bool isUndecodable(const Transfer& transfer) {
    return transfer.decoder && transfer.decoder->failure() != ContentDecoder::Problem::None;
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

// Data bytes the peer has sent on a TCP socket. The kernel counts the peer's closing (FIN) as one
// more, which is no answer.
std::uint64_t tcpBytesReceived(curl_socket_t fd) {
    tcp_info info{};
    socklen_t size = sizeof(info);
    if (::getsockopt(fd, IPPROTO_TCP, TCP_INFO, &info, &size) != 0 ||
        size < offsetof(tcp_info, tcpi_bytes_received) + sizeof(info.tcpi_bytes_received))
        return 0;
    // The kernel's states after the peer's FIN (include/net/tcp_states.h), which no user header names.
    enum : std::uint8_t { KTimeWait = 6, KCloseWait = 8, KLastAck = 9, KClosing = 11 };
    const bool peerClosed = info.tcpi_state == KCloseWait || info.tcpi_state == KLastAck ||
                            info.tcpi_state == KClosing || info.tcpi_state == KTimeWait;
    return info.tcpi_bytes_received - (peerClosed && info.tcpi_bytes_received > 0 ? 1 : 0);
}

// What the server has sent, counted by the kernel as it arrives. curl counts a header only once it has
// parsed the whole line, so a status line trickled byte by byte, a garbage answer or an HTTP/0.9 body
// would look like silence to it. Sockets of earlier hops (redirects) count too.
struct Wire {
    curl_socket_t open = CURL_SOCKET_BAD;
    std::uint64_t closed = 0;
    std::uint64_t received() const { return closed + (open != CURL_SOCKET_BAD ? tcpBytesReceived(open) : 0); }
};

int noteSocket(void* user, curl_socket_t fd, curlsocktype) {
    static_cast<Wire*>(user)->open = fd;
    return CURL_SOCKOPT_OK;
}

int closeSocket(void* user, curl_socket_t fd) {
    auto* wire = static_cast<Wire*>(user);
    wire->closed += tcpBytesReceived(fd);
    if (wire->open == fd) wire->open = CURL_SOCKET_BAD;
    return ::close(fd);
}

// Everything the server has sent so far: on the wire, or as far as curl has read it where the
// connection is no TCP one of ours (a proxy's, say).
std::uint64_t bytesReceived(CURL* easy, const Wire& wire) {
    curl_off_t body = 0;
    long head = 0;
    curl_easy_getinfo(easy, CURLINFO_SIZE_DOWNLOAD_T, &body);
    curl_easy_getinfo(easy, CURLINFO_HEADER_SIZE, &head);
    return std::max<std::uint64_t>(wire.received(), static_cast<std::uint64_t>(body + head));
}

enum class RunEnd { Finished, NothingInTime, Stalled, TooLong };

struct RunOutcome {
    RunEnd end = RunEnd::Finished;
    CURLcode result = CURLE_OK;
    // At least one byte of an answer arrived (over TLS: after the handshake), or a redirect did: the
    // server asked answered, whatever became of the address it sent us on to.
    bool answered = false;
};

// Runs the transfer to its end, letting the UI handle its events between reads. The limits are
// checked against server time: wall time less the time spent in event handling, so a modal box
// opened from those events never fails a transfer that the server completed meanwhile.
RunOutcome runTransfer(CURLM* multi, CURL* easy, const Wire& wire, const DownloadLimits& limits) {
    curl_multi_add_handle(multi, easy);
    milliseconds serverTime{0};
    milliseconds lastByteAt{0};
    std::uint64_t received = 0;
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

        if (const std::uint64_t now = bytesReceived(easy, wire); now != received) {
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
    // A TLS handshake is no answer yet: failing it is failing to reach the server.
    curl_off_t handshake = 0;
    const char* scheme = nullptr;
    curl_easy_getinfo(easy, CURLINFO_SCHEME, &scheme);
    curl_easy_getinfo(easy, CURLINFO_APPCONNECT_TIME_T, &handshake);
    const bool tls = scheme && QByteArray(scheme).compare("https", Qt::CaseInsensitive) == 0;
    long redirects = 0;
    curl_easy_getinfo(easy, CURLINFO_REDIRECT_COUNT, &redirects);
    const bool answered = redirects > 0 || (bytesReceived(easy, wire) > 0 && (!tls || handshake > 0));
    curl_multi_remove_handle(multi, easy);
    return {end, result, answered};
}

// Why a transfer failed, for whoever reads the log: libcurl's own message where it gave one.
std::string cause(const RunOutcome& run, const Transfer& transfer, long status, const DownloadLimits& limits,
                  const char* curlMessage) {
    const auto seconds = [](milliseconds limit) { return std::to_string(limit.count()) + " ms"; };
    if (run.end == RunEnd::NothingInTime) return "not one byte within " + seconds(limits.connectTimeout);
    if (run.end == RunEnd::Stalled) return "no byte for " + seconds(limits.stallTimeout);
    if (run.end == RunEnd::TooLong) return "not done within " + seconds(limits.totalTimeout);
    if (isUndecodable(transfer)) return transfer.decoder->cause();
    if (transfer.tooLarge || run.result == CURLE_FILESIZE_EXCEEDED)
        return "more than " + std::to_string(limits.maxBodyBytes) + " bytes";
    if (run.result != CURLE_OK) return *curlMessage ? curlMessage : curl_easy_strerror(run.result);
    return "HTTP status " + std::to_string(status);
}

// An address as a log may show it: without a user name or password.
std::string withoutUser(const std::string& url) {
    return platform::addressWithoutUser(QString::fromStdString(url)).toStdString();
}

// The address that failed, and the one asked for when a redirect led there.
std::string failing(CURL* easy, const std::string& url) {
    const char* effective = nullptr;
    curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &effective);
    const std::string asked = withoutUser(url);
    if (!effective) return asked;
    const std::string reached = withoutUser(effective);
    return reached == asked ? asked : reached + " (redirected from " + asked + ")";
}

// "host:port" of the hop that failed (a redirect's target, say), for the player.
std::string peerOf(CURL* easy, const std::string& url) {
    const char* effective = nullptr;
    curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &effective);
    std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> parsed(curl_url(), &curl_url_cleanup);
    char* host = nullptr;
    char* port = nullptr;
    std::string where;
    if (parsed && curl_url_set(parsed.get(), CURLUPART_URL, effective ? effective : url.c_str(), 0) == CURLUE_OK &&
        curl_url_get(parsed.get(), CURLUPART_HOST, &host, 0) == CURLUE_OK) {
        where = host;
        if (curl_url_get(parsed.get(), CURLUPART_PORT, &port, CURLU_DEFAULT_PORT) == CURLUE_OK)
            where += std::string(":") + port;
    }
    curl_free(host);
    curl_free(port);
    return where;
}

std::string size(std::size_t bytes) {
    if (bytes >= (1u << 20) && bytes % (1u << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
    if (bytes >= (1u << 10) && bytes % (1u << 10) == 0) return std::to_string(bytes >> 10) + " KiB";
    return std::to_string(bytes) + " Bytes";
}

// Why a transfer failed, for the player (the tray's tooltip), in German.
std::string problem(const RunOutcome& run, const Transfer& transfer, long status, const DownloadLimits& limits,
                    CURL* easy, const std::string& url) {
    const std::string where = " (" + peerOf(easy, url) + ")";
    const auto seconds = [](milliseconds limit) { return std::to_string((limit.count() + 999) / 1000) + " s"; };
    if (run.end == RunEnd::NothingInTime)
        return base::filled(base::translate("core::Download", "keine Antwort binnen %1"),
                            {seconds(limits.connectTimeout)}) +
               where;
    if (run.end == RunEnd::Stalled)
        return base::filled(base::translate("core::Download", "Antwort stockt seit %1"),
                            {seconds(limits.stallTimeout)}) +
               where;
    if (run.end == RunEnd::TooLong)
        return base::filled(base::translate("core::Download", "Antwort nicht binnen %1 vollständig"),
                            {seconds(limits.totalTimeout)}) +
               where;
    if (isUndecodable(transfer)) {
        return transfer.decoder->failure() == ContentDecoder::Problem::TooLarge
                   ? base::filled(base::translate("core::Download", "entpackte Antwort größer als %1"),
                                  {size(limits.maxDecodedBytes)})
                   : base::translate("core::Download", "Inhaltskodierung nicht lesbar") + where;
    }
    if (transfer.tooLarge || run.result == CURLE_FILESIZE_EXCEEDED)
        return base::filled(base::translate("core::Download", "Antwort größer als %1"), {size(limits.maxBodyBytes)});
    long osError = 0;
    curl_easy_getinfo(easy, CURLINFO_OS_ERRNO, &osError);
    switch (run.result) {
        case CURLE_OK:
            return base::filled(base::translate("core::Download", "HTTP-Status %1"), {std::to_string(status)});
        case CURLE_COULDNT_CONNECT:
            return (osError == ECONNREFUSED ? base::translate("core::Download", "Verbindung abgelehnt")
                                            : base::translate("core::Download", "keine Verbindung")) +
                   where;
        case CURLE_COULDNT_RESOLVE_HOST:
            return base::translate("core::Download", "Rechner nicht gefunden") + where;
        case CURLE_PEER_FAILED_VERIFICATION:
            return base::translate("core::Download", "Zertifikat nicht vertrauenswürdig") + where;
        case CURLE_SSL_CONNECT_ERROR:
            return base::translate("core::Download", "sichere Verbindung gescheitert") + where;
        case CURLE_UNSUPPORTED_PROTOCOL:
            return base::translate("core::Download", "Protokoll nicht erlaubt") + where;
        case CURLE_TOO_MANY_REDIRECTS:
            return base::translate("core::Download", "zu viele Weiterleitungen") + where;
        case CURLE_PARTIAL_FILE:
            return base::translate("core::Download", "Antwort unvollständig") + where;
        case CURLE_GOT_NOTHING:
            return base::translate("core::Download", "Verbindung ohne Antwort geschlossen") + where;
        case CURLE_WEIRD_SERVER_REPLY:
            return base::translate("core::Download", "keine HTTP-Antwort") + where;
        case CURLE_RECV_ERROR:
        case CURLE_SEND_ERROR:
            return base::translate("core::Download", "Verbindung abgebrochen") + where;
        default:
            return base::filled(base::translate("core::Download", "Übertragung gescheitert: %1"),
                                {curl_easy_strerror(run.result)}) +
                   where;
    }
}

DownloadResult failure(DownloadResult::Status status, const std::string& address, const std::string& cause,
                       std::string problem) {
    if (status == DownloadResult::Status::NoConnection)
        qCWarning(lcDownload, "no answer from %s: %s", address.c_str(), cause.c_str());
    else
        qCWarning(lcDownload, "bad answer from %s: %s", address.c_str(), cause.c_str());
    return {status, {}, std::move(problem)};
}

}  // namespace

std::string userAgent() {
    return std::string("Varnolux/") + build::kProductName + ":" + std::to_string(build::kVersionMajor) + "." +
           std::to_string(build::kVersionMinor) + "." + std::to_string(build::kVersionPatch);
}

DownloadResult downloadUrl(const std::string& url, const DownloadLimits& limits) {
    static const bool kInitialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    Wire wire;  // before the handles: their clean-up closes sockets through it
    std::unique_ptr<CURL, EasyDeleter> easy(kInitialised ? curl_easy_init() : nullptr);
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!easy || !multi)
        return failure(DownloadResult::Status::NoConnection, withoutUser(url), "the HTTP library could not start",
                       base::translate("core::Download", "HTTP-Bibliothek startet nicht"));

    Transfer transfer;
    transfer.wireLimit = limits.maxBodyBytes;
    transfer.decodedLimit = limits.maxDecodedBytes;
    char curlMessage[CURL_ERROR_SIZE] = "";
    const std::string agent = userAgent();
    std::unique_ptr<curl_slist, ListDeleter> headers(curl_slist_append(nullptr, "Cache-Control: no-cache"));
    headers.reset(curl_slist_append(headers.release(), "Pragma: no-cache"));
    const std::string offered = std::string("Accept-Encoding: ") + ContentDecoder::kOffered;
    headers.reset(curl_slist_append(headers.release(), offered.c_str()));

    CURL* h = easy.get();
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_USERAGENT, agent.c_str());
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    // The codings we undo are offered, and undone however they came, asked for or not (see Collect).
    curl_easy_setopt(h, CURLOPT_HTTP_CONTENT_DECODING, 0L);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, header);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, curlMessage);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    // A redirect never leaves https for plain http.
    const bool secure = QByteArray::fromStdString(url).toLower().startsWith("https:");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    // OpenSSL's own way to name the certificates to trust, for a feed behind a private authority.
    const QByteArray trusted = qgetenv("SSL_CERT_FILE");
    if (!trusted.isEmpty()) curl_easy_setopt(h, CURLOPT_CAINFO, trusted.constData());
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, limits.maxRedirects);
    // The time limits are ours (see Run): curl's own would count time spent in our event handling.
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, 0L);
    curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBodyBytes));
    curl_easy_setopt(h, CURLOPT_BUFFERSIZE, 2048L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_SOCKOPTFUNCTION, noteSocket);
    curl_easy_setopt(h, CURLOPT_SOCKOPTDATA, &wire);
    curl_easy_setopt(h, CURLOPT_CLOSESOCKETFUNCTION, closeSocket);
    curl_easy_setopt(h, CURLOPT_CLOSESOCKETDATA, &wire);
    // Always the direct connection, whatever proxy the environment names.
    curl_easy_setopt(h, CURLOPT_PROXY, "");

    const RunOutcome run = runTransfer(multi.get(), h, wire, limits);
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);

    // Only a whole answer has to have ended its streams.
    if (run.end == RunEnd::Finished && run.result == CURLE_OK && transfer.decoder) transfer.decoder->finish();
    const bool failed =
        run.end != RunEnd::Finished || run.result != CURLE_OK || transfer.tooLarge || isUndecodable(transfer);
    // Not one byte of an answer: the server could not be reached. Any byte, even garbage, is a bad answer.
    if (failed || status < 200 || status > 299)
        return failure(
            run.answered || !failed ? DownloadResult::Status::BadResponse : DownloadResult::Status::NoConnection,
            failing(h, url), cause(run, transfer, status, limits, curlMessage),
            problem(run, transfer, status, limits, h, url));
    if (transfer.body.empty()) qCWarning(lcDownload, "empty answer from %s", failing(h, url).c_str());
    return {DownloadResult::Status::Ok, std::move(transfer.body), {}};
}

}  // namespace core
