#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string_view>
#include <thread>

#include "base/SafeFile.h"
#include "platform/UnixSocket.h"

namespace platform {
namespace {

// One line per request, indexed by SingleInstance::Request.
constexpr std::string_view kRequests[] = {"show\n", "settings\n", "history\n", "recent\n", "quit\n"};
constexpr std::size_t kLongestRequest = 9;
constexpr char kAnswer[] = "ok\n";

// One attempt: connect, send the request, wait for the answer until the deadline.
enum class Attempt { Confirmed, NoListener, NoAnswer };
Attempt askOnce(const sockaddr_un& address, std::string_view request, std::chrono::steady_clock::time_point deadline) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return Attempt::NoListener;
    Attempt outcome = Attempt::NoListener;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) {
        outcome = Attempt::NoAnswer;
        if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size())) {
            std::string answer;
            char buffer[16];
            while (answer.size() < sizeof(kAnswer) - 1) {
                const auto left =
                    std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
                if (left.count() <= 0 || pollFor(fd, POLLIN, left) <= 0) break;
                const ssize_t n = ::recv(fd, buffer, sizeof(buffer), 0);
                if (n <= 0) break;
                answer.append(buffer, static_cast<std::size_t>(n));
            }
            if (answer == kAnswer) outcome = Attempt::Confirmed;
        }
    }
    ::close(fd);
    return outcome;
}

}  // namespace

// A later start talking to us; it has a moment to send its request.
struct SingleInstance::Connection {
    std::uint64_t id;
    int fd;
    std::string received;
    std::unique_ptr<QSocketNotifier> notifier;
};

namespace {
// A start sends its request at once; a connection silent this long is not one, and goes.
constexpr auto kRequestPatience = std::chrono::seconds(2);
constexpr std::size_t kMostConnections = 8;
}  // namespace

SingleInstance::SingleInstance(std::string folder) : m_folder(std::move(folder)) {}

SingleInstance::~SingleInstance() {
    release();
}

void SingleInstance::release() {
    for (auto& connection : m_connections) ::close(connection->fd);
    m_connections.clear();
    delete m_notifier;
    m_notifier = nullptr;
    if (m_listenFd >= 0) {
        ::close(m_listenFd);
        ::unlink(socketPath(m_folder).c_str());
        m_listenFd = -1;
    }
    if (m_lockFd >= 0) ::close(m_lockFd);  // also releases the lock
    m_lockFd = -1;
}

std::string SingleInstance::lockPath(const std::string& folder) {
    return folder + "/warmap.lock";
}

std::string SingleInstance::socketPath(const std::string& folder) {
    return folder + "/warmap.socket";
}

bool SingleInstance::claim() {
    if (m_lockFd >= 0) return true;
    if (m_folder.empty()) {
        std::fprintf(stderr, "warmap: no private folder for the lock; not checking for another running Warmap\n");
        return true;
    }
    const std::string lockPath = SingleInstance::lockPath(m_folder);
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0) {
        // Without a lock file there is no telling whether another instance runs: run rather than not.
        std::fprintf(stderr, "warmap: cannot open %s (%s); not checking for another running Warmap\n", lockPath.c_str(),
                     std::strerror(errno));
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_lockFd = fd;

    // Holding the lock, any socket left at the path belongs to an instance that is gone.
    const std::string socketPath = SingleInstance::socketPath(m_folder);
    sockaddr_un address;
    if (!unixSocketAddress(socketPath, address)) {
        std::fprintf(stderr, "warmap: %s is too long for a socket; a second start cannot find this one\n",
                     socketPath.c_str());
        return true;
    }
    ::unlink(socketPath.c_str());
    const int listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listenFd < 0 || ::bind(listenFd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::chmod(socketPath.c_str(), 0600) != 0 || ::listen(listenFd, 4) != 0) {
        std::fprintf(stderr, "warmap: cannot listen on %s (%s); a second start cannot find this one\n",
                     socketPath.c_str(), std::strerror(errno));
        if (listenFd >= 0) ::close(listenFd);
        return true;
    }
    m_listenFd = listenFd;
    return true;
}

void SingleInstance::serve() {
    if (m_listenFd < 0 || m_notifier) return;
    m_notifier = new QSocketNotifier(m_listenFd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SingleInstance::accept);
    accept();  // whoever asked while we were starting
}

void SingleInstance::accept() {
    for (;;) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0 && errno == EINTR) continue;
        if (fd < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != ECONNABORTED && m_notifier) {
            // Out of descriptors or memory: the waiting start stays readable, and would spin us.
            m_notifier->setEnabled(false);
            QTimer::singleShot(1000, m_notifier, [notifier = m_notifier] { notifier->setEnabled(true); });
        }
        if (fd < 0) return;
        // Only our own user may ask (the folder is private too, unless it is a fallback on a shared disk).
        ucred peer{};
        socklen_t size = sizeof(peer);
        if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.uid != ::geteuid()) {
            ::close(fd);
            continue;
        }
        // Silent connections never crowd out a start: the one that has waited longest makes room.
        if (m_connections.size() >= kMostConnections) drop(m_connections.front().get());
        auto connection = std::make_unique<Connection>();
        connection->id = ++m_lastConnectionId;
        connection->fd = fd;
        QTimer::singleShot(kRequestPatience, this, [this, id = connection->id] {
            const auto it =
                std::find_if(m_connections.begin(), m_connections.end(), [id](const auto& c) { return c->id == id; });
            if (it != m_connections.end()) drop(it->get());
        });
        connection->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        Connection* raw = connection.get();
        connect(connection->notifier.get(), &QSocketNotifier::activated, this, [this, raw] { read(raw); });
        m_connections.push_back(std::move(connection));
        read(raw);
    }
}

void SingleInstance::read(Connection* connection) {
    char buffer[16];
    for (;;) {
        const ssize_t n = ::recv(connection->fd, buffer, sizeof(buffer), 0);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;  // more to come
        if (n <= 0) return drop(connection);
        connection->received.append(buffer, static_cast<std::size_t>(n));
        if (connection->received.back() == '\n' || connection->received.size() >= kLongestRequest) break;
    }
    const auto known = std::find(std::begin(kRequests), std::end(kRequests), connection->received);
    if (known == std::end(kRequests)) return drop(connection);
    ::send(connection->fd, kAnswer, sizeof(kAnswer) - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    drop(connection);
    emit requested(static_cast<Request>(known - std::begin(kRequests)));
}

void SingleInstance::drop(Connection* connection) {
    connection->notifier->setEnabled(false);
    ::close(connection->fd);
    // Deleting a notifier inside its own signal is not allowed; let the event loop do it.
    connection->notifier.release()->deleteLater();
    std::erase_if(m_connections, [connection](const auto& c) { return c.get() == connection; });
}

bool SingleInstance::isRunning(const std::string& folder) {
    if (folder.empty()) return false;
    const auto fd = base::openForReading(lockPath(folder), {.followLinks = false});
    if (!fd) return false;
    // A shared lock is refused while the running instance holds its exclusive one.
    return ::flock(fd->get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

bool SingleInstance::askToShow(const std::string& folder, std::chrono::milliseconds patience, Request request) {
    sockaddr_un address;
    if (folder.empty()) return false;
    if (!unixSocketAddress(socketPath(folder), address)) return false;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    do {
        switch (askOnce(address, kRequests[static_cast<std::size_t>(request)], deadline)) {
            case Attempt::Confirmed:
                return true;
            case Attempt::NoAnswer:
                return false;
            case Attempt::NoListener:  // still starting, or just ended
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                break;
        }
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

}  // namespace platform
