#include "core/PluginDownload.h"

#include "platform/Dialogs.h"
#include "platform/Plugin.h"

namespace core {

void ReportDownloadFailure(platform::Dialogs& dialogs) {
    dialogs.Show({"fehler im inet", platform::kApplicationTitle, platform::Message::Icon::Critical});
}

DownloadResult DownloadThroughPlugin(const std::string& url, platform::Dialogs& dialogs,
                                     const DownloadLimits& limits) {
    using Download = void (*)(const std::string&, platform::Dialogs&, const DownloadLimits&, DownloadResult&);
    static const auto download =
        reinterpret_cast<Download>(platform::LoadPluginFunction("warmap-fetch", "WarmapDownloadUrl"));
    DownloadResult result{DownloadResult::Status::NoConnection, {}, "Programmbibliothek warmap-fetch fehlt"};
    if (download)
        download(url, dialogs, limits, result);
    else
        ReportDownloadFailure(dialogs);
    return result;
}

}  // namespace core
