// The library "warmap-fetch": the download over libcurl and its TLS stack, loaded on the first pass.
#include <QtGlobal>

#include "core/Download.h"

extern "C" Q_DECL_EXPORT void WarmapDownloadUrl(const std::string& url, platform::Dialogs& dialogs,
                                                const core::DownloadLimits& limits, core::DownloadResult& result) {
    result = core::DownloadUrl(url, dialogs, limits);
}
