#include "core/PluginDownload.h"

#include "core/Fetcher.h"
#include "platform/Dialogs.h"
#include "platform/Plugin.h"

namespace core {

void ReportDownloadFailure(platform::Dialogs& dialogs) {
    dialogs.Show({"fehler im inet", platform::kApplicationTitle, platform::Message::Icon::Critical});
}

DownloadResult DownloadThroughPlugin(const std::string& url, const DownloadLimits& limits) {
    static const Fetcher* const fetcher = platform::LoadPlugin<Fetcher>(QStringLiteral("warmap-fetch"));
    if (!fetcher) return {DownloadResult::Status::NoConnection, {}, "Programmbibliothek warmap-fetch fehlt"};
    return fetcher->Download(url, limits);
}

}  // namespace core
