#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <cstring>
#include <ctime>
#include <future>

#include "platform/SingleInstance.h"

namespace {

using platform::SingleInstance;
using namespace std::chrono_literals;

// Runs the event loop until the condition holds or two seconds have passed.
template <typename Condition>
bool processEventsUntil(Condition condition) {
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < 2000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

// A later start talks to us from its own process; here a thread stands in for it.
std::future<bool> askFromElsewhere(const std::string& folder, std::chrono::milliseconds patience,
                                   SingleInstance::Request request = SingleInstance::Request::ShowWindow) {
    return std::async(std::launch::async,
                      [folder, patience, request] { return SingleInstance::askToShow(folder, patience, request); });
}

// Connects and sends the bytes, as a confused or hostile client of our own user might.
int sendRaw(const std::string& socketPath, const std::string& bytes) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, socketPath.c_str());
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) return -1;
    ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    return fd;
}

// Each test has its own runtime folder and counts how often its instance was asked for the window.
class SingleInstanceTest : public ::testing::Test {
protected:
    // Takes the lock and answers later starts.
    void serveAsFirst(SingleInstance& instance) {
        ASSERT_TRUE(instance.claim());
        EXPECT_TRUE(instance.isListening());
        QObject::connect(&instance, &SingleInstance::requested, [this](SingleInstance::Request request) {
            ++m_shown;
            m_lastRequest = request;
        });
        instance.serve();
    }
    // A later start asks; the instance shows its window (or settings) once more and confirms.
    void expectHandOver(SingleInstance::Request request = SingleInstance::Request::ShowWindow) {
        const int before = m_shown;
        auto answer = askFromElsewhere(m_folder, 2s, request);
        EXPECT_TRUE(processEventsUntil([&] { return m_shown == before + 1; }));
        EXPECT_TRUE(answer.get());
        EXPECT_EQ(m_lastRequest, request);
    }

    QTemporaryDir m_dir;
    const std::string m_folder = m_dir.path().toStdString();
    int m_shown = 0;
    SingleInstance::Request m_lastRequest{};
};

TEST_F(SingleInstanceTest, ALaterStartHandsOverToTheFirst) {
    EXPECT_FALSE(SingleInstance::isRunning(m_folder));
    EXPECT_TRUE(QDir(QString::fromStdString(m_folder)).isEmpty());  // asking left nothing behind
    SingleInstance first(m_folder);
    serveAsFirst(first);
    EXPECT_TRUE(SingleInstance::isRunning(m_folder));

    SingleInstance second(m_folder);
    EXPECT_FALSE(second.claim());
    expectHandOver();
    // And again: every later start is answered, whatever it asks.
    using Request = SingleInstance::Request;
    for (Request request : {Request::ShowSettings, Request::ShowHistory, Request::ShowRecent, Request::Quit})
        expectHandOver(request);
    expectHandOver();

    first.release();
    EXPECT_FALSE(SingleInstance::isRunning(m_folder));
}

TEST_F(SingleInstanceTest, AskingBeforeTheFirstServesIsAnsweredOnceItDoes) {
    SingleInstance first(m_folder);
    ASSERT_TRUE(first.claim());
    auto answer = askFromElsewhere(m_folder, 3s);
    std::this_thread::sleep_for(200ms);  // the first is still building its window
    QObject::connect(&first, &SingleInstance::requested, [this] { ++m_shown; });
    first.serve();
    EXPECT_TRUE(processEventsUntil([&] { return m_shown == 1; }));
    EXPECT_TRUE(answer.get());
}

TEST_F(SingleInstanceTest, WhatACrashLeavesBehindDoesNotBlockTheNextStart) {
    {
        // A crashed instance: its lock file stays (unlocked, the kernel dropped the lock) and so does
        // its socket file, with nobody listening.
        ::close(::open(SingleInstance::lockPath(m_folder).c_str(), O_CREAT | O_WRONLY, 0600));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, SingleInstance::socketPath(m_folder).c_str());
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        ::close(fd);
    }
    EXPECT_FALSE(SingleInstance::askToShow(m_folder, 300ms));  // nobody answers the stale socket
    EXPECT_FALSE(SingleInstance::isRunning(m_folder));         // --quit finds none, and waits for none

    SingleInstance next(m_folder);
    serveAsFirst(next);
    expectHandOver();
}

// The lock and the socket go with the instance: at its end, or at once when it is told to end.
TEST_F(SingleInstanceTest, TheLockGoesWithTheInstance) {
    {
        SingleInstance first(m_folder);
        ASSERT_TRUE(first.claim());
        EXPECT_FALSE(SingleInstance(m_folder).claim());
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(SingleInstance::socketPath(m_folder))));
    SingleInstance ending(m_folder);
    ASSERT_TRUE(ending.claim());
    ending.serve();
    ending.release();
    EXPECT_FALSE(SingleInstance::askToShow(m_folder, 100ms));
    SingleInstance next(m_folder);
    EXPECT_TRUE(next.claim());
    EXPECT_TRUE(next.isListening());
}

// Another user's "--quit", even with the folder open to all, ends nothing (as root the asking is done by
// a child that has become "nobody").
TEST_F(SingleInstanceTest, AnotherUsersRequestIsNeverAnswered) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to ask as another user";
    SingleInstance first(m_folder);
    serveAsFirst(first);
    ASSERT_EQ(::chmod(m_folder.c_str(), 0755), 0);
    ::chmod(SingleInstance::socketPath(m_folder).c_str(), 0666);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const bool answered = ::setgid(65534) == 0 && ::setuid(65534) == 0 &&
                              SingleInstance::askToShow(m_folder, 500ms, SingleInstance::Request::Quit);
        _exit(answered ? 1 : 0);
    }
    int status = -1;
    bool ended = false;
    // The instance's event loop runs meanwhile, as it would.
    EXPECT_TRUE(processEventsUntil([&] { return ended = ended || ::waitpid(child, &status, WNOHANG) == child; }));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    QCoreApplication::processEvents();
    EXPECT_EQ(m_shown, 0);
}

TEST_F(SingleInstanceTest, OnlyTheExactRequestShowsTheWindow) {
    SingleInstance first(m_folder);
    serveAsFirst(first);

    const int garbage = sendRaw(SingleInstance::socketPath(m_folder), "quit now please\n");
    const int silent = sendRaw(SingleInstance::socketPath(m_folder), "");
    ASSERT_GE(garbage, 0);
    ASSERT_GE(silent, 0);
    // The garbage connection is closed without an answer; the silent one keeps nothing else from working.
    char byte;
    QElapsedTimer clock;
    clock.start();
    ssize_t got = -1;
    while (clock.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        got = ::recv(garbage, &byte, 1, MSG_DONTWAIT);
        if (got == 0) break;
    }
    EXPECT_EQ(got, 0);
    expectHandOver();
    EXPECT_EQ(m_shown, 1);
    ::close(garbage);
    ::close(silent);
}

// With no descriptor left to accept a later start, the instance waits instead of spinning, and
// answers once descriptors are free again.
TEST_F(SingleInstanceTest, RunningOutOfDescriptorsDoesNotSpin) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the sanitizer runtime needs descriptors of its own to check memory";
#endif
    SingleInstance first(m_folder);
    serveAsFirst(first);
    const int client = sendRaw(SingleInstance::socketPath(m_folder), "show\n");
    ASSERT_GE(client, 0);

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    const int probe = ::dup(0);  // the lowest free descriptor: none from here on
    ::close(probe);
    rlimit tight = saved;
    tight.rlim_cur = static_cast<rlim_t>(probe);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
    const std::clock_t cpuBefore = std::clock();
    QEventLoop idle;
    QTimer::singleShot(400, &idle, &QEventLoop::quit);
    idle.exec();
    const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &saved), 0);
    EXPECT_EQ(m_shown, 0);
    EXPECT_LT(cpuMs, 150.0) << "the event loop spun on the waiting start";

    EXPECT_TRUE(processEventsUntil([&] { return m_shown == 1; }));
    char answer[8] = {};
    EXPECT_EQ(::recv(client, answer, sizeof(answer), 0), 3);
    EXPECT_STREQ(answer, "ok\n");
    ::close(client);
}

TEST_F(SingleInstanceTest, AFolderTooDeepForASocketStillRunsOneInstance) {
    const std::string deep = m_folder + "/" + std::string(120, 'd');
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(deep)));
    SingleInstance first(deep);
    EXPECT_TRUE(first.claim());
    EXPECT_FALSE(first.isListening());
    EXPECT_FALSE(SingleInstance(deep).claim());
    EXPECT_FALSE(SingleInstance::askToShow(deep, 100ms));
}

// A lock that cannot be opened (here a folder sits at its name, as another user's or a broken file
// might): the program runs rather than refusing to start, and says why on stderr.
TEST_F(SingleInstanceTest, ALockThatCannotBeOpenedDoesNotKeepTheProgramFromRunning) {
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(SingleInstance::lockPath(m_folder))));
    SingleInstance first(m_folder);
    EXPECT_TRUE(first.claim());
    EXPECT_TRUE(SingleInstance(m_folder).claim());
}

// Connections that never send a request neither last nor crowd out a start: a start is answered while
// ten of them wait, and each is closed after its two seconds.
TEST_F(SingleInstanceTest, SilentConnectionsNeitherLastNorBlockALaterStart) {
    SingleInstance first(m_folder);
    serveAsFirst(first);
    std::vector<int> silent;
    for (int i = 0; i < 10; ++i) {
        silent.push_back(sendRaw(SingleInstance::socketPath(m_folder), ""));
        QCoreApplication::processEvents();  // accepted, or the next connect waits for room
    }
    expectHandOver();

    const auto closedByUs = [](int fd) {
        char byte;
        return ::recv(fd, &byte, 1, MSG_DONTWAIT) == 0;
    };
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 4000 && !std::all_of(silent.begin(), silent.end(), closedByUs)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    for (int fd : silent) {
        EXPECT_TRUE(closedByUs(fd));
        ::close(fd);
    }
    expectHandOver();
}

}  // namespace
