#include "platform/UnixSocket.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform {

bool unixSocketAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

int pollFor(int fd, short events, std::chrono::milliseconds timeout) {
    pollfd entry{fd, events, 0};
    int result;
    do {
        result = ::poll(&entry, 1, static_cast<int>(std::max<std::chrono::milliseconds::rep>(timeout.count(), 0)));
    } while (result < 0 && errno == EINTR);
    return result;
}

}  // namespace platform
