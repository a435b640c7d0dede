#include "core/RefreshPass.h"

#include <QSaveFile>

#include "core/ChangePresenter.h"
#include "core/FeedConfig.h"
#include "feed/FeedDocument.h"
#include "feed/FeedPaths.h"
#include "feed/ServerTable.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"

namespace core {
namespace {

// Replaces the saved copy in one step, so a crash or a full disk never leaves half a file behind.
// A copy that cannot be written is skipped; the pass goes on.
void SaveCopy(const std::string& path, const std::string& bytes) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    file.commit();
}

}  // namespace

RefreshPass::RefreshPass(PassSettings settings, platform::Dialogs& dialogs, ChangePresenter& presenter)
    : m_settings(std::move(settings)), m_names(m_settings.programFolder), m_dialogs(dialogs), m_presenter(presenter) {}

void RefreshPass::RefreshKeeps() {
    const std::string tempFolder = platform::TempFolder();
    for (std::string_view server : feed::ServerNames) {
        if (!VisitServer(tempFolder, std::string(server))) break;
    }
    if (!feed::IsArrayEmpty(m_messageLines)) m_presenter.PresentChanges(m_messageLines);
    m_messageLines.clear();
    m_messageLines.shrink_to_fit();
}

// Returns false when the download failed, which ends the pass's server loop.
bool RefreshPass::VisitServer(const std::string& tempFolder, const std::string& server) {
    const std::string body =
        DownloadUrl(FeedUrl(m_settings.feedBase, server), kAccessDirect, m_dialogs, m_settings.limits);
    if (body.empty()) return false;

    const feed::FeedDocument current = feed::FeedDocument::Parse(body);
    const std::string savedCopy = feed::SavedCopyPath(tempFolder, server);
    if (platform::FileExists(savedCopy)) {
        if (auto failure = feed::CompareKeeps(current, server, savedCopy, m_names, m_messageLines)) {
            m_dialogs.Show({"Fehler: " + *failure, "Fehler", platform::Message::Icon::Critical});
        }
    }
    // Only a real feed replaces the last good copy.
    if (current.IsFeed()) SaveCopy(savedCopy, body);
    return true;
}

}  // namespace core
