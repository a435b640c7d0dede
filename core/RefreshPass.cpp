#include "core/RefreshPass.h"

#include <QLoggingCategory>
#include <cerrno>
#include <cstring>

#include "core/ChangePresenter.h"
#include "core/FeedConfig.h"
#include "feed/FeedDocument.h"
#include "feed/FeedPaths.h"
#include "feed/SavedCopy.h"
#include "feed/ServerTable.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"

namespace core {
namespace {
Q_LOGGING_CATEGORY(lcStorage, "warmap.storage")
Q_LOGGING_CATEGORY(lcFeed, "warmap.feed")
}  // namespace

RefreshPass::RefreshPass(PassSettings settings, platform::Dialogs& dialogs, ChangePresenter& presenter)
    : m_settings(std::move(settings)),
      m_names(m_settings.programFolder),
      m_dialogs(dialogs, m_stopRequested),
      m_presenter(presenter) {}

void RefreshPass::RefreshKeeps() {
    if (m_stopRequested || m_running) return;
    m_running = true;
    const std::string tempFolder = platform::TempFolder();
    for (std::string_view server : feed::ServerNames) {
        // A download lets UI events run, so the request to end can come in the middle of a server.
        if (!VisitServer(tempFolder, std::string(server)) || m_stopRequested) break;
    }
    if (!m_stopRequested) {
        if (!feed::IsArrayEmpty(m_messageLines)) m_presenter.PresentChanges(m_messageLines);
        if (onPassEnded) onPassEnded(m_messageLines);
    }
    m_running = false;
    m_messageLines.clear();
    m_messageLines.shrink_to_fit();
}

// Returns false when the server could not be reached or sent nothing, which ends the pass's server
// loop. A server that answered badly is only skipped: nothing compared or saved for it.
bool RefreshPass::VisitServer(const std::string& tempFolder, const std::string& server) {
    const DownloadResult download =
        m_settings.download(FeedUrl(m_settings.feedBase, server), kAccessDirect, m_dialogs, m_settings.limits);
    if (download.status == DownloadResult::Status::BadResponse) return true;
    if (download.status == DownloadResult::Status::NoConnection || download.body.empty()) return false;
    const std::string& body = download.body;

    const feed::FeedDocument current = feed::FeedDocument::Parse(body);
    const std::string savedCopy = feed::SavedCopyPath(tempFolder, server);
    if (platform::FileExists(savedCopy)) {
        if (auto failure = feed::CompareKeeps(current, server, savedCopy, m_names, m_messageLines)) {
            qCWarning(lcFeed, "cannot compare %s with %s: %s", server.c_str(), savedCopy.c_str(), failure->c_str());
            m_dialogs.Show({"Fehler: " + *failure, "Fehler", platform::Message::Icon::Critical});
        }
    }
    // Only a real feed replaces the last good copy. A copy that cannot be written is skipped: the pass
    // goes on, the old copy stays, and the log says why (its changes will be shown again next time).
    if (current.IsFeed() && !feed::WriteSavedCopy(savedCopy, body)) {
        qCWarning(lcStorage, "cannot save the copy of %s as %s: %s", server.c_str(), savedCopy.c_str(),
                  std::strerror(errno));
    }
    return true;
}

}  // namespace core
