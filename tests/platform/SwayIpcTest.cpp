#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <thread>

#include "platform/WindowSystem.h"
#include "tests/support/EnvScope.h"

namespace {

// Plays sway's side of one IPC exchange: reads a message, keeps its command, and answers with reply
// (or, when reply is empty, never answers until the client has gone).
class FakeSway {
public:
    FakeSway(const QString& path, QByteArray reply) : m_reply(std::move(reply)) {
        m_listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, path.toUtf8().constData());
        EXPECT_EQ(::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        ::listen(m_listener, 1);
        m_thread = std::thread([this] { serve(); });
    }
    ~FakeSway() {
        m_thread.join();
        ::close(m_listener);
    }
    QByteArray command;

private:
    void serve() {
        const int fd = ::accept(m_listener, nullptr, nullptr);
        char header[14];
        if (fd < 0 || ::recv(fd, header, sizeof(header), MSG_WAITALL) != sizeof(header)) return;
        std::uint32_t length = 0, type = 99;
        std::memcpy(&length, header + 6, 4);
        std::memcpy(&type, header + 10, 4);
        command.resize(length);
        ::recv(fd, command.data(), length, MSG_WAITALL);
        if (type != 0 || QByteArray(header, 6) != "i3-ipc") command = "bad header";
        if (!m_reply.isEmpty()) {
            const std::uint32_t answer[2] = {static_cast<std::uint32_t>(m_reply.size()), 0};
            QByteArray message("i3-ipc");
            message.append(reinterpret_cast<const char*>(answer), sizeof(answer)).append(m_reply);
            ::send(fd, message.constData(), static_cast<size_t>(message.size()), MSG_NOSIGNAL);
        }
        char rest;
        ::recv(fd, &rest, 1, 0);  // until the client closes
        ::close(fd);
    }
    QByteArray m_reply;
    int m_listener = -1;
    std::thread m_thread;
};

// The rule goes to sway as one command for this process's popup; only sway's "success" counts, and a
// sway that never answers is given up on.
TEST(AskCompositorNeverToFocus, SendsOneRuleAndBelievesOnlySwaysSuccess) {
    QTemporaryDir dir;
    const QString socket = dir.path() + "/sway-ipc.sock";
    testing_support::EnvScope env;
    env.unset("SWAYSOCK");
    EXPECT_FALSE(platform::askCompositorNeverToFocus("Warmap Frontbericht"));  // not sway: nothing to ask

    env.set("SWAYSOCK", socket.toUtf8());
    EXPECT_FALSE(platform::askCompositorNeverToFocus("Warmap Frontbericht"));  // no sway listening

    const struct {
        QByteArray reply;
        bool agreed;
    } cases[] = {{"[ { \"success\": true } ]", true},
                 {"[{\"success\":true}]", true},
                 {"[ { \"success\": false, \"error\": \"Unknown command\" } ]", false},
                 {"", false}};
    for (const auto& c : cases) {
        QFile::remove(socket);
        FakeSway sway(socket, c.reply);
        EXPECT_EQ(platform::askCompositorNeverToFocus("Warmap Frontbericht"), c.agreed) << c.reply.constData();
        if (!c.reply.isEmpty()) {
            // the fake reads the command before it answers
            EXPECT_EQ(sway.command, "no_focus [pid=" + QByteArray::number(QCoreApplication::applicationPid()) +
                                        " title=\"^Warmap Frontbericht$\"]");
        }
    }
}

}  // namespace
