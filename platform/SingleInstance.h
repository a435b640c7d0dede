#pragma once

#include <QObject>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;

namespace platform {

// One Warmap per user. The first start holds a lock on "warmap.lock" for its whole run and listens on
// "warmap.socket" beside it; a later start finds the lock taken and asks the first, through the socket,
// to show its window. The kernel drops the lock with the process, so what a crash leaves behind never
// blocks the next start.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // What a later start asks of the running instance.
    enum class Request { ShowWindow, ShowSettings, ShowHistory, ShowRecent, Quit };

    explicit SingleInstance(std::string folder);
    ~SingleInstance() override;

    // Takes the lock and opens the socket for later starts. False when another instance holds the
    // lock. Needs no application object, so a later start ends before it would open a display.
    bool claim();
    // Whether later starts can reach this instance (claim() succeeded and the socket listens).
    bool isListening() const { return m_listenFd >= 0; }

    // Answers later starts from the event loop from now on, each with requested().
    void serve();

    // Lets go of the lock and the socket before the program has quite ended, so a start meanwhile
    // runs as the new instance instead of talking to one on its way out.
    void release();

    // What a later start does: asks the instance holding the lock to show its window (or its settings),
    // retrying while that instance may still be starting. True once it has confirmed within patience.
    static bool askToShow(const std::string& folder, std::chrono::milliseconds patience,
                          Request request = Request::ShowWindow);

    // Whether an instance holds the lock in folder now. Creates nothing, so a start that ends at once
    // (asked to end a Warmap that is not there, or without a display) leaves no trace.
    static bool isRunning(const std::string& folder);

    static std::string lockPath(const std::string& folder);
    static std::string socketPath(const std::string& folder);

signals:
    // A later start asked this instance for something.
    void requested(platform::SingleInstance::Request request);

private:
    struct Connection;
    void accept();
    void read(Connection* connection);
    void drop(Connection* connection);

    std::string m_folder;
    int m_lockFd = -1;
    int m_listenFd = -1;
    QSocketNotifier* m_notifier = nullptr;
    std::vector<std::unique_ptr<Connection>> m_connections;  // oldest first
    std::uint64_t m_lastConnectionId = 0;
};

}  // namespace platform
