// The plugin "warmap-fetch": the download over libcurl and its TLS stack, loaded on the first pass.
#include <QObject>

#include "core/Fetcher.h"

namespace core {

class FetchPlugin final : public QObject, public Fetcher {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.warmap.Fetcher/1")
    Q_INTERFACES(core::Fetcher)
public:
    DownloadResult download(const std::string& url, const DownloadLimits& limits) const override {
        return downloadUrl(url, limits);
    }
};

}  // namespace core

#include "FetchPlugin.moc"
