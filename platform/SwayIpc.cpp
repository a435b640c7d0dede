#include "platform/WindowSystem.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/UnixSocket.h"

namespace platform {
namespace {

constexpr char kMagic[] = "i3-ipc";  // sway speaks i3's IPC
constexpr std::uint32_t kRunCommand = 0;
constexpr int kTimeoutMs = 500;

bool waitFor(int fd, short events) {
    return pollFor(fd, events, std::chrono::milliseconds(kTimeoutMs)) == 1;
}

bool sendAll(int fd, const QByteArray& data) {
    for (qsizetype sent = 0; sent < data.size();) {
        if (!waitFor(fd, POLLOUT)) return false;
        const ssize_t n = ::send(fd, data.constData() + sent, static_cast<size_t>(data.size() - sent), MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += n;
    }
    return true;
}

bool receiveAll(int fd, char* buffer, size_t size) {
    for (size_t got = 0; got < size;) {
        if (!waitFor(fd, POLLIN)) return false;
        const ssize_t n = ::recv(fd, buffer + got, size - got, 0);
        if (n <= 0) return false;
        got += static_cast<size_t>(n);
    }
    return true;
}

// Runs one command through sway's IPC socket and tells whether sway reports success. Gives up after
// half a second without progress: the popup never waits long for the compositor.
bool runSwayCommand(const char* socketPath, const QByteArray& command) {
    sockaddr_un address;
    if (!unixSocketAddress(socketPath, address)) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    QByteArray message(kMagic, sizeof(kMagic) - 1);
    const std::uint32_t header[2] = {static_cast<std::uint32_t>(command.size()), kRunCommand};
    message.append(reinterpret_cast<const char*>(header), sizeof(header)).append(command);
    ok = ok && sendAll(fd, message);
    char replyHeader[sizeof(kMagic) - 1 + 8];
    ok = ok && receiveAll(fd, replyHeader, sizeof(replyHeader));
    std::uint32_t length = 0;
    if (ok) std::memcpy(&length, replyHeader + sizeof(kMagic) - 1, sizeof(length));
    QByteArray reply(ok && length < 65536 ? static_cast<qsizetype>(length) : 0, '\0');
    ok = ok && length < 65536 && receiveAll(fd, reply.data(), length);
    ::close(fd);
    reply.replace(' ', "");
    return ok && reply.contains("\"success\":true") && !reply.contains("\"success\":false");
}

}  // namespace

bool askCompositorNeverToFocus(const QString& title) {
    const char* socketPath = std::getenv("SWAYSOCK");
    if (!socketPath || !*socketPath) return false;
    // This process's windows with exactly this title; the title holds no character that is special
    // in a regular expression or a quoted criteria value.
    const QByteArray command = "no_focus [pid=" + QByteArray::number(QCoreApplication::applicationPid()) +
                               " title=\"^" + title.toUtf8() + "$\"]";
    return runSwayCommand(socketPath, command);
}

}  // namespace platform
