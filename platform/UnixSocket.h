#pragma once

#include <sys/un.h>

#include <chrono>
#include <string>

namespace platform {

// The address of a Unix socket at path; false when the path does not fit one (about 107 bytes).
bool unixSocketAddress(const std::string& path, sockaddr_un& address);

// poll() for one descriptor, tried again when a signal interrupts it. As poll() returns.
int pollFor(int fd, short events, std::chrono::milliseconds timeout);

}  // namespace platform
