#include "core/FetchProtocol.h"

#include <charconv>

namespace core {
namespace {

constexpr std::string_view kMagic = "WARMAP-FETCH 1\n";

template <typename Number>
std::optional<Number> numberOf(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// The next line of text, taken off its front; nothing without a line break.
std::optional<std::string_view> takeLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    return line;
}

}  // namespace

QStringList fetchArguments(const FetchRequest& request) {
    const DownloadLimits& l = request.limits;
    return {QString::fromStdString(request.url),     QString::number(l.connectTimeout.count()),
            QString::number(l.stallTimeout.count()), QString::number(l.totalTimeout.count()),
            QString::number(l.maxBodyBytes),         QString::number(l.maxDecodedBytes),
            QString::number(l.maxRedirects)};
}

std::optional<FetchRequest> parseFetchArguments(const QStringList& arguments) {
    if (arguments.size() != 7) return std::nullopt;
    std::optional<long long> numbers[6];
    for (int i = 0; i < 6; ++i) {
        numbers[i] = numberOf<long long>(arguments[i + 1].toStdString());
        if (!numbers[i] || *numbers[i] < 0) return std::nullopt;
    }
    FetchRequest request;
    request.url = arguments[0].toStdString();
    request.limits.connectTimeout = std::chrono::milliseconds(*numbers[0]);
    request.limits.stallTimeout = std::chrono::milliseconds(*numbers[1]);
    request.limits.totalTimeout = std::chrono::milliseconds(*numbers[2]);
    request.limits.maxBodyBytes = static_cast<std::size_t>(*numbers[3]);
    request.limits.maxDecodedBytes = static_cast<std::size_t>(*numbers[4]);
    request.limits.maxRedirects = static_cast<long>(*numbers[5]);
    return request;
}

std::string encodeFetchAnswer(const DownloadResult& result) {
    std::string answer(kMagic);
    answer += std::to_string(static_cast<int>(result.status)) + '\n';
    answer += std::to_string(result.problem.size()) + '\n';
    answer += result.problem;
    answer += result.body;
    return answer;
}

std::optional<DownloadResult> decodeFetchAnswer(std::string_view answer) {
    if (answer.substr(0, kMagic.size()) != kMagic) return std::nullopt;
    answer.remove_prefix(kMagic.size());
    const auto statusLine = takeLine(answer);
    const auto sizeLine = takeLine(answer);
    if (!statusLine || !sizeLine) return std::nullopt;
    const auto status = numberOf<int>(*statusLine);
    const auto problemSize = numberOf<std::size_t>(*sizeLine);
    using Status = DownloadResult::Status;
    if (!status || *status < static_cast<int>(Status::Ok) || *status > static_cast<int>(Status::NoConnection) ||
        !problemSize || *problemSize > answer.size())
        return std::nullopt;
    DownloadResult result;
    result.status = static_cast<Status>(*status);
    result.problem = std::string(answer.substr(0, *problemSize));
    result.body = std::string(answer.substr(*problemSize));
    return result;
}

}  // namespace core
