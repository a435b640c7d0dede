#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <string>

#include "core/Download.h"
#include "core/FetchHelper.h"
#include "core/NoticeFilter.h"
#include "feed/CompareKeeps.h"
#include "feed/FeedDocument.h"
#include "feed/KeepNames.h"

#include "platform/Dialogs.h"

namespace core {

class ChangePresenter;

// A server a pass could not take a feed from, and why (German, for the player).
struct ServerFailure {
    std::size_t server;
    std::string problem;
    bool operator==(const ServerFailure&) const = default;
};

struct PassSettings {
    std::string feedBase;       // scheme, host and port of the feed server
    std::string programFolder;  // where keepnames.ini lies
    DownloadLimits limits{};
    Downloader download = helperDownloader();
    NoticeFilter notices{};
    std::string snapshotFolder;  // where the map's snapshots of the new copies go; empty: nowhere
};

// One refresh pass over all servers: download, compare with the saved copy, save, then hand the
// change lines the player wants to be told of to the presenter. Keeps nothing between passes but the
// saved copies.
class RefreshPass : public QObject {
    Q_OBJECT
public:
    RefreshPass(PassSettings settings, platform::Dialogs& dialogs, ChangePresenter& presenter,
                QObject* parent = nullptr);

    void refreshKeeps();

    // Asks a running pass to end after the server it is visiting, without presenting anything; every
    // later pass ends at once. The program asks this when it is told to end.
    void requestStop() { m_stopRequested = true; }
    bool isRunning() const { return m_running; }

    // New feed host and notice filter, from the next pass on (a running pass keeps its own).
    void reconfigure(std::string feedBase, NoticeFilter notices);

    // The lines gathered so far; empty again after every pass.
    const feed::MessageLines& messageLines() const { return m_messageLines; }

    // Of the last pass (so also while passEnded is handled): the servers whose download failed or that
    // answered with nothing, in table order, and how many servers it asked; those after a server that
    // gave no answer at all were not asked.
    const std::vector<ServerFailure>& failures() const { return m_failures; }
    std::size_t serversAsked() const { return m_serversAsked; }

signals:
    // At the end of every pass that was not stopped, with all of its lines, filtered or not (empty when
    // nothing changed).
    void passEnded(const feed::MessageLines& lines);
    // Every document a server sent (a feed or not), before it is compared and saved.
    void feedArrived(std::size_t server, const feed::FeedDocument& document);

private:
    bool visitServer(const std::string& tempFolder, std::size_t serverIndex, platform::Dialogs& downloadDialogs);

    // The pass's message boxes: none once the user has asked the program to end.
    class PassDialogs final : public platform::Dialogs {
    public:
        PassDialogs(platform::Dialogs& boxes, const bool& stopRequested)
            : m_boxes(boxes), m_stopRequested(stopRequested) {}
        void show(const platform::Message& message) override {
            if (!m_stopRequested) m_boxes.show(message);
        }

    private:
        platform::Dialogs& m_boxes;
        const bool& m_stopRequested;
    };

    // What the downloads of one pass show: its first failure's box only. Later failures are logged
    // and named by the tray, so a site down for maintenance costs one box a pass, as an outage does.
    class FirstBoxOnly final : public platform::Dialogs {
    public:
        explicit FirstBoxOnly(platform::Dialogs& boxes) : m_boxes(boxes) {}
        void show(const platform::Message& message) override {
            if (!m_shown) m_boxes.show(message);
            m_shown = true;
        }

    private:
        platform::Dialogs& m_boxes;
        bool m_shown = false;
    };

    PassSettings m_settings;
    std::optional<std::pair<std::string, NoticeFilter>> m_next;
    feed::KeepNames m_names;
    bool m_stopRequested = false;
    bool m_running = false;
    PassDialogs m_dialogs;
    ChangePresenter& m_presenter;
    feed::MessageLines m_messageLines;
    feed::MessageLines m_noticeLines;  // those of m_messageLines that pass the filter
    std::vector<ServerFailure> m_failures;
    std::size_t m_serversAsked = 0;
};

}  // namespace core
