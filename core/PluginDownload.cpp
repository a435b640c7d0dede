#include "core/PluginDownload.h"

#include "base/Wording.h"
#include "core/Fetcher.h"
#include "platform/Dialogs.h"
#include "platform/Plugin.h"

namespace core {

void reportDownloadFailure(platform::Dialogs& dialogs) {
    dialogs.show({base::translate("core::PluginDownload", "fehler im inet"), platform::kApplicationTitle,
                  platform::Message::Icon::Critical});
}

DownloadResult downloadThroughPlugin(const std::string& url, const DownloadLimits& limits) {
    static const Fetcher* const kFetcher = platform::loadPlugin<Fetcher>(QStringLiteral("warmap-fetch"));
    if (!kFetcher)
        return {DownloadResult::Status::NoConnection,
                {},
                base::translate("core::PluginDownload", "Programmbibliothek warmap-fetch fehlt")};
    return kFetcher->download(url, limits);
}

}  // namespace core
