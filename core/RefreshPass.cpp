#include "core/RefreshPass.h"

#include <cstring>

#include "base/Wording.h"
#include "core/ChangePresenter.h"
#include "core/FeedConfig.h"
#include "feed/FeedDocument.h"
#include "feed/FeedPaths.h"
#include "feed/Frontier.h"
#include "feed/FrontierSnapshot.h"
#include "feed/SavedCopy.h"
#include "platform/Dialogs.h"
#include "platform/Logging.h"
#include "platform/Paths.h"

namespace core {
RefreshPass::RefreshPass(PassSettings settings, platform::Dialogs& dialogs, ChangePresenter& presenter, QObject* parent)
    : QObject(parent),
      m_settings(std::move(settings)),
      m_names(m_settings.programFolder),
      m_dialogs(dialogs, m_stopRequested),
      m_presenter(presenter) {}

void RefreshPass::reconfigure(std::string feedBase, NoticeFilter notices) {
    m_next.emplace(std::move(feedBase), notices);
}

void RefreshPass::refreshKeeps() {
    if (m_stopRequested || m_running) return;
    m_running = true;
    if (m_next) {
        m_settings.feedBase = std::move(m_next->first);
        m_settings.notices = m_next->second;
        m_next.reset();
    }
    m_failures.clear();
    m_serversAsked = 0;
    const std::string tempFolder = platform::tempFolder();
    FirstBoxOnly downloadDialogs(m_dialogs);
    for (std::size_t server = 0; server < feed::kServerNames.size(); ++server) {
        // A download lets UI events run, so the request to end can come in the middle of a server.
        if (!visitServer(tempFolder, server, downloadDialogs) || m_stopRequested) break;
    }
    if (!m_stopRequested) {
        if (!m_noticeLines.empty()) m_presenter.presentChanges(m_noticeLines);
        emit passEnded(m_messageLines);
    }
    m_running = false;
    for (feed::MessageLines* lines : {&m_messageLines, &m_noticeLines}) {
        lines->clear();
        lines->shrink_to_fit();
    }
}

// Returns false when the server could not be reached at all, which ends the pass's server loop. A
// server that answered badly, or with nothing, is only skipped: nothing compared or saved for it.
bool RefreshPass::visitServer(const std::string& tempFolder, std::size_t serverIndex,
                              platform::Dialogs& downloadDialogs) {
    const std::string server(feed::kServerNames[serverIndex]);
    const DownloadResult download = m_settings.download(feedUrl(m_settings.feedBase, server), m_settings.limits);
    ++m_serversAsked;
    if (download.status != DownloadResult::Status::Ok) {
        reportDownloadFailure(downloadDialogs);
        m_failures.push_back({serverIndex, download.problem});
    }
    if (download.status == DownloadResult::Status::BadResponse) return true;
    if (download.status == DownloadResult::Status::NoConnection) return false;
    if (download.body.empty()) {
        // A file being rewritten in place, say: no box, but the tray says that this server gave nothing.
        m_failures.push_back({serverIndex, base::translate("core::RefreshPass", "leere Antwort")});
        return true;
    }
    const std::string& body = download.body;

    const feed::FeedDocument current = feed::FeedDocument::parse(body);
    emit feedArrived(serverIndex, current);
    const std::string savedCopy = feed::savedCopyPath(tempFolder, server);
    if (platform::fileExists(savedCopy)) {
        const std::size_t first = m_messageLines.size();
        feed::RealmChanges changes;
        if (const base::Status compared =
                feed::compareKeeps(current, server, savedCopy, m_names, m_messageLines, &changes);
            !compared) {
            qCWarning(lcFeed, "cannot compare %s with %s: %s", server.c_str(), savedCopy.c_str(),
                      compared.error().c_str());
            m_dialogs.show(platform::failureMessage(compared.error()));
        }
        for (std::size_t i = 0; i < changes.size(); ++i) {
            if (m_settings.notices.wants(serverIndex, changes[i])) m_noticeLines.push_back(m_messageLines[first + i]);
        }
    }
    // Only a real feed replaces the last good copy. A copy that cannot be written is skipped: the pass
    // goes on, the old copy stays, and the log says why (its changes will be shown again next time).
    if (!current.isFeed()) return true;
    if (const base::Result<void, int> saved = feed::writeSavedCopy(savedCopy, body); !saved) {
        qCWarning(lcStorage, "cannot save the copy of %s as %s: %s", server.c_str(), savedCopy.c_str(),
                  std::strerror(saved.error()));
    } else if (std::optional<feed::FrontierSnapshot> snapshot;
               !m_settings.snapshotFolder.empty() && (snapshot = feed::snapshotOf(current))) {
        // What the map draws of the new copy, so that the next start needs no XML parser for it.
        const std::string file = feed::snapshotPath(m_settings.snapshotFolder, savedCopy);
        if (const base::Result<void, int> kept = feed::writeSnapshot(file, body, *snapshot); !kept)
            qCWarning(lcStorage, "cannot keep the map's snapshot of %s as %s: %s", server.c_str(), file.c_str(),
                      std::strerror(kept.error()));
    }
    return true;
}

}  // namespace core
