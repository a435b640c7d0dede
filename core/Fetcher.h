#pragma once

#include <QtPlugin>
#include <string>

#include "core/Download.h"

namespace core {

// What the plugin "warmap-fetch" gives: the download, with libcurl and its TLS stack behind it.
class Fetcher {
public:
    virtual ~Fetcher() = default;
    // As downloadUrl.
    virtual DownloadResult download(const std::string& url, const DownloadLimits& limits) const = 0;
};

}  // namespace core

Q_DECLARE_INTERFACE(core::Fetcher, "org.warmap.Fetcher/1")
