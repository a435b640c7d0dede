#pragma once

#include "core/Download.h"

namespace core {

// DownloadUrl as the program calls it: libcurl and its TLS stack live in the library "warmap-fetch"
// beside the program and are loaded on the first download, not at start-up. Without that library
// every download fails as having no connection ("fehler im inet").
DownloadResult DownloadThroughPlugin(const std::string& url, platform::Dialogs& dialogs,
                                     const DownloadLimits& limits);

}  // namespace core
