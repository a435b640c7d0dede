#pragma once

#include <QByteArray>

#include "core/Download.h"

namespace platform {
class Dialogs;
}

namespace core {

// downloadUrl as the program calls it: in the helper "warmap-fetch" beside the program's plugins, so
// libcurl and its TLS stack are never mapped here and what they take is given back after each
// download. UI events run meanwhile. translation (a loaded .qm file, or nothing for German) is
// what the helper's problem texts speak. Without the helper every download fails as having no
// connection.
DownloadResult downloadThroughHelper(const std::string& url, const DownloadLimits& limits,
                                     const QByteArray& translation = {});
// The same as a Downloader, with this translation.
Downloader helperDownloader(QByteArray translation = {});

// The one box every failed download shows ("fehler im inet"); the caller shows it once the download
// has returned.
void reportDownloadFailure(platform::Dialogs& dialogs);

}  // namespace core
