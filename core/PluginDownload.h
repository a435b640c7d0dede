#pragma once

#include "core/Download.h"

namespace platform {
class Dialogs;
}

namespace core {

// downloadUrl as the program calls it: libcurl and its TLS stack live in the plugin "warmap-fetch"
// beside the program and are loaded on the first download, not at start-up. Without that plugin
// every download fails as having no connection.
DownloadResult downloadThroughPlugin(const std::string& url, const DownloadLimits& limits);

// The one box every failed download shows ("fehler im inet"); the caller shows it once the download
// has returned.
void reportDownloadFailure(platform::Dialogs& dialogs);

}  // namespace core
